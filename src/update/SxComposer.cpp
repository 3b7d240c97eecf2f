#include "update/SxComposer.h"

#include "app/UComon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

const Bank_Window Banks[Bank_Count] = {
    {QStringLiteral("bank1.bin"), 0x388000, 0x38BFFF},
    {QStringLiteral("bank2.bin"), 0x398000, 0x39BFFF},
};

const char Hex_Digits[] = "0123456789ABCDEF";

int Hex_Value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void Append_Hex(QByteArray& out, quint32 value, int digits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out.append(Hex_Digits[(value >> shift) & 0xF]);
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray Read_Whole(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw App_Error(
            QStringLiteral("Cannot read the file %1: %2").arg(Shown(path), f.errorString()));
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw App_Error(
            QStringLiteral("Cannot read the file %1: %2").arg(Shown(path), f.errorString()));
    return data;
}

// The files written here are intermediate: the result only ever appears by renaming a
// completely written one, so a failed write never reaches it.
void Write_Whole(const QString& path, const QByteArray& data)
{
    QFile f(path);
    const auto fail = [&] {
        throw App_Error(
            QStringLiteral("Cannot write the file %1: %2").arg(Shown(path), f.errorString()));
    };
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail();
    if (f.write(data) != data.size() || !f.flush())
        fail();
    f.close();
    if (f.error() != QFileDevice::NoError)
        fail();
}

std::filesystem::path Fs_Path(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Puts `from` in place of `to` in one step; an earlier `to` stays when it fails.
// Returns the reason of a failure, empty on success.
QString Replace_File(const QString& from, const QString& to)
{
    const QFileInfo target(to);
    if (target.exists() && !target.isWritable())
        return QStringLiteral("the file is read-only");
    std::error_code ec;
    std::filesystem::rename(Fs_Path(from), Fs_Path(to), ec);
    return ec ? QString::fromLocal8Bit(ec.message()) : QString();
}

// Removes a file when the scope ends, however it ends.
class Remove_At_Exit final {
public:
    explicit Remove_At_Exit(QString path) : m_path(std::move(path)) {}
    ~Remove_At_Exit() { QFile::remove(m_path); }
    Remove_At_Exit(const Remove_At_Exit&) = delete;
    Remove_At_Exit& operator=(const Remove_At_Exit&) = delete;

private:
    QString m_path;
};

} // namespace

const Bank_Window& Bank_Of(int bank)
{
    Q_ASSERT(bank >= 0 && bank < Bank_Count);
    return Banks[bank];
}

QByteArray Calc_Checksum(const QByteArray& record, bool checksumOnly)
{
    const qsizetype length = record.size();
    unsigned sum = 0;
    for (qsizetype i = 2; i + 1 <= length - 3; i += 2) {
        const int high = Hex_Value(record.at(i));
        const int low = Hex_Value(record.at(i + 1));
        if (high >= 0 && low >= 0)
            sum += unsigned(high * 16 + low);
    }
    QByteArray digits;
    Append_Hex(digits, 255 - (sum % 256), 2);
    if (checksumOnly)
        return digits;
    QByteArray whole = record;
    if (length >= 2)
        whole.replace(length - 2, 2, digits);
    return whole;
}

QByteArray Bank_Record(quint32 address, const char* data)
{
    QByteArray record;
    record.reserve(76);
    record.append("S224");
    Append_Hex(record, address, 6);
    for (int i = 0; i < Bank_Record_Bytes; ++i)
        Append_Hex(record, quint8(data[i]), 2);
    record.append("XX");
    return Calc_Checksum(record, false);
}

QByteArray Render_Bank(const QByteArray& image, quint32 first)
{
    Q_ASSERT(image.size() >= Bank_Size);
    QByteArray out;
    out.reserve(Bank_Records * 78);
    for (int r = 0; r < Bank_Records; ++r) {
        out.append(Bank_Record(first + quint32(r * Bank_Record_Bytes),
                               image.constData() + r * Bank_Record_Bytes));
        out.append("\r\n");
    }
    return out;
}

void Sx_Composer::Message(const QString& text) const
{
    if (On_Message)
        On_Message(text);
}

void Sx_Composer::Progress(int value) const
{
    if (On_Progress)
        On_Progress(value, m_maximum);
}

QString Sx_Composer::Stage_File(int stage) const
{
    return NomeDirSxNew + QStringLiteral("B%1.sx").arg(stage);
}

int Sx_Composer::Merge_Bank(int bank, const QString& outName, const QString& input)
{
    const Bank_Window& window = Bank_Of(bank);
    if (On_Progress)
        On_Progress(0, 0);

    const auto stop = [this](const QString& text) {
        Message(text);
        return -1;
    };
    if (!QFileInfo(input).isFile())
        return stop(QStringLiteral("File *.Sx Not Found,Abort Procedure"));
    if (NomeFileSxNew.isEmpty())
        return stop(QStringLiteral("File New *.Sx Not Found,Abort Procedure"));
    if (NomeDirBin.isEmpty() || !QFileInfo(NomeDirBin).isDir())
        return stop(QStringLiteral("Directory Bin Not Found,Abort Procedure"));
    const QString imagePath = NomeDirBin + window.image;
    if (!QFileInfo(imagePath).isFile())
        return stop(QStringLiteral("File %1 Not Found,Abort Procedure").arg(window.image));
    const QByteArray image = Read_Whole(imagePath);
    // Padding a short image would put undefined bytes into the device.
    if (image.size() < Bank_Size)
        return stop(QStringLiteral("File %1 Too Short,Abort Procedure").arg(window.image));

    const QString binSxPath = NomeDirBin + QStringLiteral("Bin.sx");
    const Remove_At_Exit binSxGone(binSxPath);
    const QByteArray binSx = Render_Bank(image, window.first);
    Write_Whole(binSxPath, binSx);

    const QByteArray in = Read_Whole(input);
    const char* p = in.constData();
    const char* const end = p + in.size();
    int lines = int(in.count('\n'));
    if (!in.isEmpty() && in.back() != '\n')
        ++lines;
    m_maximum = Bank_Records + lines;

    QByteArray out;
    out.reserve(in.size() + binSx.size() + 2 * lines);
    int value = 0;
    bool merged = false;
    bool unreadable = false;
    int result = -1;
    while (p < end) {
        const char* newline = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* const next = newline ? newline + 1 : end;
        const char* lineEnd = newline ? newline : end;
        if (lineEnd > p && lineEnd[-1] == '\r')
            --lineEnd;
        const qsizetype length = lineEnd - p;
        Progress(++value);

        if (length == 0) {
            p = next;
            continue;
        }
        if (length >= 2 && p[0] == 'S' && p[1] == '2') {
            quint32 address = 0;
            bool hex = length >= 10;
            for (int i = 4; hex && i < 10; ++i) {
                const int digit = Hex_Value(p[i]);
                hex = digit >= 0;
                address = address * 16 + quint32(qMax(digit, 0));
            }
            if (!hex) {
                unreadable = true;
                break;
            }
            if (address >= window.first && address <= window.last) {
                if (!merged) {
                    out.append(binSx);
                    value += Bank_Records;
                    Progress(value);
                    merged = true;
                }
                p = next;
                continue;
            }
        } else if (length >= 2 && p[0] == 'S' && p[1] == '9') {
            result = merged ? 1 : 0;
        }
        out.append(p, length);
        out.append("\r\n");
        p = next;
    }

    Write_Whole(NomeDirSxNew + outName, out);
    Progress(m_maximum);

    if (unreadable)
        return stop(QStringLiteral("File New Sx Not Create,Abort Procedure"));
    if (result == 0)
        return stop(
            QStringLiteral("Address Window of %1 Not Found,Abort Procedure").arg(window.image));
    return result;
}

void Sx_Composer::Pass_On(int stage, const QString& input, const QString& output) const
{
    // The first stage's input is the source firmware, which must stay where it is.
    if (stage == 1) {
        QFile::remove(output);
        QFile source(input);
        if (!source.copy(output))
            throw App_Error(QStringLiteral("Cannot write the file %1: %2")
                                .arg(Shown(output), source.errorString()));
        return;
    }
    const QString reason = Replace_File(input, output);
    // A lost intermediate shows up at the last stage, which must not claim a result.
    if (!reason.isEmpty() && output == Result_Path())
        throw App_Error(QStringLiteral("Cannot write the file %1: %2").arg(Shown(output), reason));
}

bool Sx_Composer::Compose(const QString& firmware)
{
    Stage_Result = {};
    struct Intermediates_Gone {
        const Sx_Composer& c;
        ~Intermediates_Gone()
        {
            for (int stage = 1; stage <= Stage_Count; ++stage) {
                const QString name = QStringLiteral("B%1.sx").arg(stage);
                if (name.compare(c.NomeFileSxNew, Qt::CaseInsensitive) != 0)
                    QFile::remove(c.Stage_File(stage));
            }
        }
    } const gone{*this};

    for (int stage = 1; stage <= Stage_Count; ++stage) {
        const bool last = stage == Stage_Count;
        const QString input = stage == 1 ? firmware : Stage_File(stage - 1);
        const int bank = stage - 1;
        if (Merge_Switch[size_t(bank)] && bank < Bank_Count) {
            // A merging last stage writes beside the result first, so a stop keeps the old one.
            const QString outName = last ? QStringLiteral("B5.sx") : QStringLiteral("B%1.sx").arg(stage);
            const int result = Merge_Bank(bank, outName, input);
            Stage_Result[size_t(bank)] = result;
            if (result == -1)
                return false;
            if (last) {
                const QString reason = Replace_File(Stage_File(stage), Result_Path());
                if (!reason.isEmpty())
                    throw App_Error(QStringLiteral("Cannot write the file %1: %2")
                                        .arg(Shown(Result_Path()), reason));
            }
        } else {
            Pass_On(stage, input, last ? Result_Path() : Stage_File(stage));
            Stage_Result[size_t(bank)] = 0;
        }
    }
    return true;
}
