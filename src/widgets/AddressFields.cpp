#include "widgets/AddressFields.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringList>

#include <optional>

namespace {

// Four parts between three dots, blanks around them dropped; nothing else is an address.
std::optional<std::array<QString, 4>> Address_Parts(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    std::array<QString, 4> out;
    for (int i = 0; i < 4; ++i)
        out[i] = parts[i].trimmed();
    return out;
}

class Address_Paste final : public QObject {
public:
    Address_Paste(const std::array<QLineEdit*, 4>& fields) : QObject(fields[0]), m_fields(fields)
    {
        fields[0]->installEventFilter(this);
        // The context menu's Paste and a drop arrive as an edit of the first field.
        connect(fields[0], &QLineEdit::textEdited, this, [this](const QString& text) {
            const QString clip = Clipboard_Text();
            if (!clip.isEmpty() && text.contains(clip) && Spread(clip))
                return;
            Spread(text);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_fields[0] && event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste))
            return Spread(Clipboard_Text());
        return QObject::eventFilter(watched, event);
    }

private:
    static QString Clipboard_Text()
    {
        const QClipboard* c = QGuiApplication::clipboard();
        return c ? c->text().trimmed() : QString();
    }

    bool Spread(const QString& text)
    {
        const auto parts = Address_Parts(text);
        if (!parts)
            return false;
        for (int i = 0; i < 4; ++i)
            m_fields[i]->setText((*parts)[i]);
        if (m_fields[3]->isVisible() && m_fields[3]->isEnabled())
            m_fields[3]->setFocus(Qt::TabFocusReason);
        return true;
    }

    std::array<QLineEdit*, 4> m_fields;
};

} // namespace

void Spread_Pasted_Address(const std::array<QLineEdit*, 4>& fields)
{
    new Address_Paste(fields);
}
