#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <array>

// One classic CAN frame as a log or an adapter gives it.
struct Can_Frame {
    qint64 time_us = 0; // on the log's own clock; meaningful only when `timed`
    bool timed = false;
    quint32 id = 0;
    bool extended = false;
    bool remote = false;
    quint8 size = 0;
    std::array<quint8, 8> data{};
};

// Reads CAN logs line by line: candump's log form (`(1436509052.249713) can0 18FEF100#01...`),
// its screen form (`can0  18FEF100   [8]  01 02 ...`, with or without a leading timestamp) and
// Vector ASC. The form is taken from the first line that is not blank; lines of another form
// after it are errors, except the header, comment and event lines of ASC.
class Can_Log_Reader final {
public:
    // True with `f` filled for a frame line; false for a line that holds no frame. Throws
    // App_Error naming the line for one that cannot be read.
    bool Read_Line(QByteArrayView line, Can_Frame& f);
    int Line_Number() const { return m_line; }

private:
    enum class Form { Unknown, Candump_Log, Candump_Screen, Vector_Asc };
    bool Read_Candump_Log(QByteArrayView line, Can_Frame& f) const;
    bool Read_Candump_Screen(QByteArrayView line, Can_Frame& f) const;
    bool Read_Asc(QByteArrayView line, Can_Frame& f);
    [[noreturn]] void Fail() const;

    Form m_form = Form::Unknown;
    bool m_asc_decimal = false; // "base dec": identifiers and bytes in decimal
    int m_line = 0;
};

// Calls `sink(frame)` for every frame of a whole log text, in order. Throws App_Error naming the
// first line that cannot be read.
template <typename Sink> void For_Each_Log_Frame(QByteArrayView text, Sink&& sink)
{
    Can_Log_Reader reader;
    Can_Frame f;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* nl = static_cast<const char*>(memchr(p, '\n', size_t(end - p)));
        const char* stop = nl ? nl : end;
        if (reader.Read_Line(QByteArrayView(p, stop - p), f))
            sink(f);
        p = nl ? nl + 1 : end;
    }
}
