#include "update/SxComposer.h"

#include "app/UComon.h"
#include "configurations/SafeFile.h"
#include "configurations/TextToInt.h"
#include "update/SxVerify.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

const Bank_Window Banks[Bank_Count] = {
    {QStringLiteral("bank1.bin"), 0x388000, 0x38BFFF},
    {QStringLiteral("bank2.bin"), 0x398000, 0x39BFFF},
};

const char Hex_Digits[] = "0123456789ABCDEF";

void Append_Hex(QByteArray& out, quint32 value, int digits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out.append(Hex_Digits[(value >> shift) & 0xF]);
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Firmware files run to megabytes: they stream through small buffers instead of being held
// whole, which keeps the compose quick.
constexpr qsizetype Chunk = 256 * 1024;

class Line_Reader final {
public:
    explicit Line_Reader(const QString& path) : m_file(path), m_buffer(Chunk, Qt::Uninitialized)
    {
        if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            Fail();
    }

    // The number of lines; a last line without line end counts.
    int Count_Lines()
    {
        int lines = 0;
        char last = '\n';
        qsizetype got;
        while ((got = Fill()) > 0) {
            lines += int(std::count(m_buffer.constData(), m_buffer.constData() + got, '\n'));
            last = m_buffer.at(got - 1);
        }
        if (!m_file.seek(0))
            Fail();
        m_pos = m_end = 0;
        return last == '\n' ? lines : lines + 1;
    }

    // The next line without its CR LF or LF; valid until the next call.
    bool Next(const char*& line, qsizetype& length)
    {
        m_carry.resize(0);
        for (;;) {
            const char* start = m_buffer.constData() + m_pos;
            const char* end = m_buffer.constData() + m_end;
            const auto* newline =
                static_cast<const char*>(std::memchr(start, '\n', size_t(end - start)));
            if (newline) {
                m_pos = newline + 1 - m_buffer.constData();
                if (m_carry.isEmpty()) {
                    line = start;
                    length = newline - start;
                } else {
                    m_carry.append(start, newline - start);
                    line = m_carry.constData();
                    length = m_carry.size();
                }
                break;
            }
            m_carry.append(start, end - start);
            m_pos = 0;
            m_end = Fill();
            if (m_end == 0) {
                if (m_carry.isEmpty())
                    return false;
                line = m_carry.constData();
                length = m_carry.size();
                break;
            }
        }
        if (length > 0 && line[length - 1] == '\r')
            --length;
        return true;
    }

private:
    qsizetype Fill()
    {
        const qint64 got = m_file.read(m_buffer.data(), m_buffer.size());
        if (got < 0)
            Fail();
        return qsizetype(got);
    }

    [[noreturn]] void Fail() const
    {
        throw App_Error(QStringLiteral("Cannot read the file %1: %2")
                            .arg(Shown(m_file.fileName()), m_file.errorString()));
    }

    QFile m_file;
    QByteArray m_buffer;
    QByteArray m_carry;
    qsizetype m_pos = 0;
    qsizetype m_end = 0;
};

// The files written here are intermediate: the result only ever appears by renaming a
// completely written one, so a failed write never reaches it.
class Line_Writer final {
public:
    explicit Line_Writer(const QString& path) : m_file(path)
    {
        m_buffer.reserve(Chunk + 1024);
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            Fail();
    }

    void Line(const char* text, qsizetype length)
    {
        m_buffer.append(text, length);
        m_buffer.append("\r\n", 2);
        if (m_buffer.size() >= Chunk)
            Flush();
    }

    // Text that already ends in CR LF.
    void Lines(const QByteArray& text)
    {
        Flush();
        Write(text.constData(), text.size());
    }

    void Close()
    {
        Flush();
        m_file.close();
        if (m_file.error() != QFileDevice::NoError)
            Fail();
    }

private:
    void Flush()
    {
        Write(m_buffer.constData(), m_buffer.size());
        m_buffer.resize(0);
    }

    void Write(const char* data, qsizetype size)
    {
        // A write cut short by a full disk is retried, so that the next one names the reason.
        while (size > 0) {
            const qint64 n = m_file.write(data, size);
            if (n < 0)
                Fail();
            if (n == 0)
                Fail(QString::fromLocal8Bit(std::strerror(ENOSPC)));
            data += n;
            size -= qsizetype(n);
        }
    }

    [[noreturn]] void Fail(const QString& reason = {}) const
    {
        throw App_Error(
            QStringLiteral("Cannot write the file %1: %2")
                .arg(Shown(m_file.fileName()), reason.isEmpty() ? m_file.errorString() : reason));
    }

    QFile m_file;
    QByteArray m_buffer;
};

std::filesystem::path Fs_Path(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Intermediate files only: both names lie in the private folder.
void Rename_Intermediate(const QString& from, const QString& to)
{
    std::error_code ec;
    std::filesystem::rename(Fs_Path(from), Fs_Path(to), ec);
    if (ec)
        throw App_Error(QStringLiteral("Cannot write the file %1: %2")
                            .arg(Shown(to), QString::fromLocal8Bit(ec.message())));
}

const QString Lock_Name = QStringLiteral("lock");

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

void Sx_Composer::Message(const QString& text)
{
    ++m_messages;
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
    return Work_Dir() + QStringLiteral("B%1.sx").arg(stage);
}

QString Sx_Composer::Work_Folder_Prefix(const QString& resultName)
{
    return QLatin1Char('.') + resultName + QStringLiteral(".compose-");
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
    // An interrupted write of the bank pair is completed or undone before either is read.
    Recover_File_Group(NomeDirBin);
    const QString imagePath = NomeDirBin + window.image;
    if (!QFileInfo(imagePath).isFile())
        return stop(QStringLiteral("File %1 Not Found,Abort Procedure").arg(window.image));
    const QByteArray image = Read_Whole_File(imagePath);
    // Padding a short image would put undefined bytes into the device.
    if (image.size() < Bank_Size)
        return stop(QStringLiteral("File %1 Too Short,Abort Procedure").arg(window.image));
    const QByteArray& expected = Expected_Images[size_t(bank)];
    if (!expected.isEmpty() && image.left(Bank_Size) != expected.left(Bank_Size))
        return stop(QStringLiteral("File %1 Changed Since This Update Wrote It,Abort Procedure")
                        .arg(window.image));
    m_merged[size_t(bank)] = image.left(Bank_Size);

    const QString binSxPath = Work_Dir() + QStringLiteral("Bin.sx");
    const Remove_At_Exit binSxGone(binSxPath);
    const QByteArray binSx = Render_Bank(image, window.first);
    Line_Writer binSxFile(binSxPath);
    binSxFile.Lines(binSx);
    binSxFile.Close();

    Line_Reader in(input);
    Line_Writer out(Work_Dir() + outName);
    m_maximum = Bank_Records + in.Count_Lines();

    int value = 0;
    bool merged = false;
    bool unreadable = false;
    bool ended = false; // an S9 line came
    int result = -1;
    const char* p = nullptr;
    qsizetype length = 0;
    while (in.Next(p, length)) {
        Progress(++value);
        if (length == 0)
            continue;
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
                    out.Lines(binSx);
                    value += Bank_Records;
                    Progress(value);
                    merged = true;
                }
                continue;
            }
        } else if (length >= 2 && p[0] == 'S' && p[1] == '9') {
            if (!ended)
                result = merged ? 1 : 0;
            ended = true;
        }
        out.Line(p, length);
    }
    out.Close();
    Progress(m_maximum);

    if (unreadable)
        return stop(QStringLiteral("File New Sx Not Create,Abort Procedure"));
    // The window's records only came after the end record.
    if (result == 0 && merged)
        return stop(QStringLiteral("Address Window of %1 After End Record S9,Abort Procedure")
                        .arg(window.image));
    if (result == 0)
        return stop(
            QStringLiteral("Address Window of %1 Not Found,Abort Procedure").arg(window.image));
    return result;
}

void Sx_Composer::Pass_On(int stage, const QString& input, const QString& output) const
{
    // The first stage's input is the source firmware, which must stay where it is.
    if (stage == 1) {
        QFile source(input);
        if (!source.copy(output))
            throw App_Error(QStringLiteral("Cannot write the file %1: %2")
                                .arg(Shown(output), source.errorString()));
        return;
    }
    Rename_Intermediate(input, output);
}

bool Sx_Composer::Put_Result(const QString& composed)
{
    Atomic_File result(Result_Path());
    {
        QFile in(composed);
        if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throw App_Error(QStringLiteral("Cannot read the file %1: %2")
                                .arg(Shown(composed), in.errorString()));
        QByteArray block(Chunk, Qt::Uninitialized);
        qint64 got;
        while ((got = in.read(block.data(), block.size())) > 0)
            result.Write(block.constData(), qsizetype(got));
        if (got < 0)
            throw App_Error(QStringLiteral("Cannot read the file %1: %2")
                                .arg(Shown(composed), in.errorString()));
    }
    QFile::remove(composed);
    result.Finish();
    if (Verify) {
        std::array<QByteArray, Bank_Count> images;
        for (int b = 0; b < Bank_Count; ++b) {
            if (Stage_Result[size_t(b)] == 1)
                images[size_t(b)] = Expected_Images[size_t(b)].isEmpty()
                                        ? m_merged[size_t(b)]
                                        : Expected_Images[size_t(b)].left(Bank_Size);
        }
        // Read back from the disk: what the flash tool will get.
        const QString reason = Verify_Composed(result.Temporary(), images);
        if (!reason.isEmpty()) {
            Message(QStringLiteral("Check of %1 Failed (%2),Abort Procedure")
                        .arg(NomeFileSxNew, reason));
            return false;
        }
    }
    result.Put_In_Place();
    return true;
}

// A killed compose leaves its private folder behind; its lock tells a live one from a dead one.
void Sx_Composer::Remove_Stale_Work_Folders() const
{
    const QDir dir(NomeDirSxNew);
    const QStringList found = dir.entryList({Work_Folder_Prefix(NomeFileSxNew) + QLatin1Char('*')},
                                            QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : found) {
        const QString path = dir.filePath(name);
        if (!Lock_Abandoned(Path_Join(path, Lock_Name)))
            continue;
        QDir(path).removeRecursively();
    }
}

bool Sx_Composer::Compose(const QString& firmware)
{
    Stage_Result = {};
    m_merged = {};
    m_messages = 0;
    if (NomeDirSxNew.isEmpty() || NomeFileSxNew.isEmpty()) {
        // Nowhere to write: the first stage's checks, before anything is written.
        Stage_Result[0] = -1;
        Message(QFileInfo(firmware).isFile()
                    ? QStringLiteral("File New *.Sx Not Found,Abort Procedure")
                    : QStringLiteral("File *.Sx Not Found,Abort Procedure"));
        return false;
    }
    // Refused before anything is written, also for an administrator.
    Check_Writable(Result_Path());
    Remove_Stale_Work_Folders();
    QTemporaryDir work(NomeDirSxNew + Work_Folder_Prefix(NomeFileSxNew) + QStringLiteral("XXXXXX"));
    if (!work.isValid())
        throw App_Error(QStringLiteral("Cannot write the file %1: %2")
                            .arg(Shown(Result_Path()), work.errorString()));
    QLockFile lock(work.filePath(Lock_Name));
    lock.setStaleLockTime(0);
    lock.tryLock(0);
    struct Work_Gone {
        QString& work;
        QLockFile& lock;
        ~Work_Gone()
        {
            lock.unlock();
            work.clear();
        }
    } const gone{m_work, lock};
    m_work = work.path() + QLatin1Char('/');

    for (int stage = 1; stage <= Stage_Count; ++stage) {
        const QString input = stage == 1 ? firmware : Stage_File(stage - 1);
        const int bank = stage - 1;
        if (bank < Bank_Count && Merge_Switch[size_t(bank)]) {
            const int before = m_messages;
            const int result = Merge_Bank(bank, QStringLiteral("B%1.sx").arg(stage), input);
            Stage_Result[size_t(bank)] = result;
            if (result == -1) {
                if (m_messages == before)
                    Message(QStringLiteral("No S9 Record in %1, No File Created,Abort Procedure")
                                .arg(QFileInfo(input).fileName()));
                return false;
            }
            if (stage > 1)
                QFile::remove(input); // room on a small disk
        } else {
            Pass_On(stage, input, Stage_File(stage));
            Stage_Result[size_t(bank)] = 0;
        }
    }
    return Put_Result(Stage_File(Stage_Count));
}
