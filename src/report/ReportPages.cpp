#include "report/ReportPages.h"

#include "configurations/SafeFile.h"
#include "language/ULanguage.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {

constexpr int Msg_Page = 504, Msg_Page_Of = 505;
constexpr int Bar_Bytes_Per_Line = 32;
constexpr quint32 Bar_Longest = 1024; // a runaway size is not drawn byte by byte

// Word wrap; a word wider than the room (a path, a hash) is broken anywhere.
int Wrap_Flags(const QFontMetricsF& fm, const QString& text, double width)
{
    for (const QString& word : text.split(QLatin1Char(' ')))
        if (fm.horizontalAdvance(word) > width)
            return Qt::TextWordWrap | Qt::TextWrapAnywhere;
    return Qt::TextWordWrap;
}

class Page_Writer final {
public:
    Page_Writer(QPagedPaintDevice& device, QPainter* painter, int pageCount)
        : m_device(device), m_painter(painter), m_pageCount(pageCount)
    {
        m_dpi = device.logicalDpiY();
        const QRectF paint = device.pageLayout().paintRectPixels(m_dpi);
        m_width = paint.width();
        m_bottom = paint.height() - mm(9); // the footer's room
        m_text.setFamily(QStringLiteral("Sans Serif"));
        m_text.setPointSizeF(9);
        m_small = m_text;
        m_small.setPointSizeF(7.5);
        m_tiny = m_text;
        m_tiny.setPointSizeF(5.5);
        m_bold = m_text;
        m_bold.setBold(true);
        m_heading = m_bold;
        m_heading.setPointSizeF(12);
        m_title = m_bold;
        m_title.setPointSizeF(18);
        if (m_painter)
            m_painter->setRenderHint(QPainter::Antialiasing);
    }

    double mm(double v) const { return v * m_dpi / 25.4; }

    void Block(const Report_Block& b)
    {
        using K = Report_Block::Kind;
        switch (b.kind) {
        case K::Title:
            Text_Line(b.text, m_title, Qt::black, mm(4));
            break;
        case K::Heading:
            // A heading never stays alone at the foot of a page.
            if (m_y + mm(22) > m_bottom && m_y > 0)
                New_Page();
            m_y += mm(3);
            Text_Line(b.text, m_heading, QColor(0x1F, 0x3A, 0x68), mm(1.5));
            break;
        case K::Line:
            Text_Line(b.text, m_text, Qt::black, mm(0.8));
            break;
        case K::Alert:
            Text_Line(b.text, m_bold, QColor(0xB0, 0x00, 0x00), mm(0.8));
            break;
        case K::Table:
            Table(b);
            break;
        case K::Bar:
            Bar(b);
            break;
        }
    }

    void Finish() { Footer(); }
    int Pages() const { return m_page; }

private:
    QFontMetricsF Metrics(const QFont& f) const { return QFontMetricsF(f, &m_device); }

    void New_Page()
    {
        Footer();
        if (m_painter)
            m_device.newPage();
        ++m_page;
        m_y = 0;
    }

    void Footer()
    {
        if (!m_painter)
            return;
        m_painter->setFont(m_small);
        m_painter->setPen(Qt::darkGray);
        const QString text = Msg(Msg_Page) + QString::number(m_page) + Msg(Msg_Page_Of) +
                             QString::number(m_pageCount);
        m_painter->drawText(QRectF(0, m_bottom + mm(3), m_width, mm(6)),
                            Qt::AlignRight | Qt::AlignVCenter, text);
    }

    void Text_Line(const QString& text, const QFont& font, const QColor& colour, double after)
    {
        const QFontMetricsF fm = Metrics(font);
        const int flags = Wrap_Flags(fm, text, m_width);
        const QRectF need = fm.boundingRect(QRectF(0, 0, m_width, 1e7), flags, text);
        if (m_y + need.height() > m_bottom && m_y > 0)
            New_Page();
        if (m_painter) {
            m_painter->setFont(font);
            m_painter->setPen(colour);
            m_painter->drawText(QRectF(0, m_y, m_width, need.height()), flags, text);
        }
        m_y += need.height() + after;
    }

    // Natural widths first; when they do not fit, the widest columns share what is left.
    QList<double> Column_Widths(const Report_Block& b) const
    {
        const QFontMetricsF head = Metrics(m_bold), cell = Metrics(m_small);
        const double pad = mm(3); // the text's room is the width less mm(2)
        QList<double> w;
        for (qsizetype c = 0; c < b.headers.size(); ++c) {
            double n = 0;
            for (const QString& word : b.headers[c].split(QLatin1Char(' ')))
                n = std::max(n, head.horizontalAdvance(word));
            for (const QStringList& r : b.rows)
                n = std::max(n, cell.horizontalAdvance(r.value(c)));
            w << n + pad;
        }
        double sum = 0;
        for (double v : w)
            sum += v;
        if (sum <= m_width) {
            if (!w.isEmpty())
                w.last() += m_width - sum;
            return w;
        }
        QList<bool> fixed(w.size(), false);
        double left = m_width;
        qsizetype open = w.size();
        for (bool changed = true; changed && open > 0;) {
            changed = false;
            const double share = left / double(open);
            for (qsizetype c = 0; c < w.size(); ++c)
                if (!fixed[c] && w[c] <= share) {
                    fixed[c] = true;
                    left -= w[c];
                    --open;
                    changed = true;
                }
        }
        for (qsizetype c = 0; c < w.size(); ++c)
            if (!fixed[c])
                w[c] = left / double(open);
        return w;
    }

    double Row_Height(const QStringList& cells, const QList<double>& w, const QFont& font) const
    {
        const QFontMetricsF fm = Metrics(font);
        double h = fm.height();
        for (qsizetype c = 0; c < w.size(); ++c)
            h = std::max(h, fm.boundingRect(QRectF(0, 0, w[c] - mm(2), 1e7),
                                            Wrap_Flags(fm, cells.value(c), w[c] - mm(2)),
                                            cells.value(c))
                                .height());
        return h + mm(1.2);
    }

    void Row(const QStringList& cells, const QList<double>& w, const QFont& font, bool header,
             bool shaded, double h)
    {
        if (!m_painter)
            return;
        m_painter->setFont(font);
        const QFontMetricsF fm = Metrics(font);
        double x = 0;
        for (qsizetype c = 0; c < w.size(); ++c) {
            const QRectF box(x, m_y, w[c], h);
            m_painter->setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 0));
            m_painter->setBrush(header   ? QColor(0xDD, 0xE4, 0xF0)
                                : shaded ? QColor(0xF4, 0xF4, 0xF4)
                                         : QColor(Qt::white));
            m_painter->drawRect(box);
            m_painter->setPen(Qt::black);
            m_painter->drawText(box.adjusted(mm(1), mm(0.6), -mm(1), 0),
                                Wrap_Flags(fm, cells.value(c), w[c] - mm(2)), cells.value(c));
            x += w[c];
        }
    }

    void Table(const Report_Block& b)
    {
        if (b.rows.isEmpty()) {
            Text_Line(Msg(501), m_text, Qt::black, mm(0.8));
            return;
        }
        const QList<double> w = Column_Widths(b);
        const double headH = Row_Height(b.headers, w, m_bold);
        bool headerShown = false;
        for (qsizetype r = 0; r < b.rows.size(); ++r) {
            const double h = Row_Height(b.rows[r], w, m_small);
            if (m_y + (headerShown ? 0 : headH) + h > m_bottom && m_y > 0) {
                New_Page();
                headerShown = false;
            }
            if (!headerShown) {
                Row(b.headers, w, m_bold, true, false, headH);
                m_y += headH;
                headerShown = true;
            }
            Row(b.rows[r], w, m_small, false, r % 2 == 1, h);
            m_y += h;
        }
        m_y += mm(2);
    }

    // The data area as lines of bytes, one box per row over the bytes it takes.
    void Bar(const Report_Block& b)
    {
        const quint32 shown = std::max(b.budget, std::min(b.used, Bar_Longest));
        const int lines = int((shown + Bar_Bytes_Per_Line - 1) / Bar_Bytes_Per_Line);
        const double gutter = mm(10);
        const double cellW = (m_width - gutter) / Bar_Bytes_Per_Line;
        const double lineH = mm(6);
        // The bar stays on one page when a page can hold it.
        const double whole = Metrics(m_bold).height() + mm(1) + lines * lineH;
        if (m_y + whole > m_bottom && m_y > 0 && whole <= m_bottom)
            New_Page();
        Text_Line(b.text, m_bold, Qt::black, mm(1));
        for (int line = 0; line < lines; ++line) {
            if (m_y + lineH > m_bottom && m_y > 0)
                New_Page();
            const quint32 first = quint32(line) * Bar_Bytes_Per_Line;
            const quint32 last = first + Bar_Bytes_Per_Line; // exclusive
            if (m_painter) {
                m_painter->setFont(m_tiny);
                m_painter->setPen(Qt::darkGray);
                m_painter->drawText(QRectF(0, m_y, gutter - mm(1), lineH),
                                    Qt::AlignRight | Qt::AlignVCenter, QString::number(first));
                for (quint32 k = first; k < last && k < shown; ++k) {
                    const QRectF cell(gutter + (k - first) * cellW, m_y, cellW, lineH);
                    m_painter->setPen(QPen(QColor(0xD0, 0xD0, 0xD0), 0));
                    m_painter->setBrush(k < b.budget ? QColor(Qt::white) : QColor(0xF6, 0xD0, 0xD0));
                    m_painter->drawRect(cell);
                }
                for (qsizetype i = 0; i < b.boxes.size(); ++i) {
                    const Report_Bar_Box& box = b.boxes[i];
                    const quint32 from = std::max(box.offset, first);
                    const quint32 to = std::min({box.offset + box.bytes, last, shown});
                    if (box.bytes == 0 || from >= to)
                        continue;
                    const QRectF r(gutter + (from - first) * cellW, m_y + mm(0.5),
                                   (to - from) * cellW, lineH - mm(1));
                    const bool over = box.offset + box.bytes > b.budget;
                    m_painter->setPen(QPen(over ? QColor(0xB0, 0, 0) : QColor(0x30, 0x50, 0x80), 0));
                    m_painter->setBrush(i % 2 ? QColor(0xC8, 0xDA, 0xF2) : QColor(0xE2, 0xEC, 0xC8));
                    m_painter->drawRect(r);
                    m_painter->setPen(Qt::black);
                    const QString label = Metrics(m_tiny).elidedText(
                        box.label, Qt::ElideRight, r.width() - mm(0.6));
                    m_painter->drawText(r, Qt::AlignCenter, label);
                }
                // The end of what the device holds.
                if (b.budget >= first && b.budget < last) {
                    const double x = gutter + (b.budget - first) * cellW;
                    m_painter->setPen(QPen(QColor(0xB0, 0, 0), mm(0.5)));
                    m_painter->drawLine(QPointF(x, m_y), QPointF(x, m_y + lineH));
                }
            }
            m_y += lineH;
        }
        m_y += mm(2);
    }

    QPagedPaintDevice& m_device;
    QPainter* m_painter;
    int m_pageCount;
    int m_page = 1;
    double m_dpi = 72;
    double m_width = 0, m_bottom = 0, m_y = 0;
    QFont m_text, m_small, m_tiny, m_bold, m_heading, m_title;
};

} // namespace

int Draw_Report(const Report_Document& doc, QPagedPaintDevice& device)
{
    // A first pass without a painter counts the pages for "Page N / M".
    Page_Writer count(device, nullptr, 0);
    for (const Report_Block& b : doc.blocks)
        count.Block(b);
    const int pages = count.Pages();

    QPainter painter(&device);
    Page_Writer pass(device, &painter, pages);
    for (const Report_Block& b : doc.blocks)
        pass.Block(b);
    pass.Finish();
    return pages;
}

QByteArray Report_Pdf(const Report_Document& doc)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(doc.title);
        pdf.setCreator(QStringLiteral("SW38591"));
        pdf.setResolution(600);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter));
        Draw_Report(doc, pdf);
    }
    return bytes;
}

void Write_Report_Pdf(const Report_Document& doc, const QString& path)
{
    Write_File_Atomic(path, Report_Pdf(doc));
}
