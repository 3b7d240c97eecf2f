#include "editors/FrameChecks.h"

#include "configurations/TextToInt.h"
#include "language/ULanguage.h"

namespace {

bool Blank(const QString& text)
{
    return text.trimmed().isEmpty();
}

} // namespace

std::optional<Frame_Check_Failure> Check_Receive_Rows(const QList<Receive_Frame_Row>& rows,
                                                      bool reduced)
{
    // 64 bits: start plus a huge count must not wrap round into the allowed range.
    qint64 total = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const Receive_Frame_Row& r = rows.at(i);
        const int row = i + 1;
        auto fail = [row](int message) { return Frame_Check_Failure{row, message}; };
        if (Blank(r.PGN))
            break;
        if (Blank(r.DataPage))
            return fail(636);
        if (!Text_In_Range(r.PGN, 0, 65535))
            return fail(637);
        if (!Text_In_Range(r.SA, 0, 255))
            return fail(638);
        if (reduced)
            continue;
        qint64 start = 0;
        if (!Blank(r.StartByte)) {
            if (!Text_In_Range(r.StartByte, 0, 1785))
                return fail(639);
            start = Text_To_Int(r.StartByte, -1);
        }
        qint64 count = 8;
        if (!Blank(r.NumBytes)) {
            count = Text_To_Int(r.NumBytes, -1);
            if (count < 1 || count + start > Frame_Byte_Budget)
                return fail(640);
        }
        total += count;
        if (total > Frame_Byte_Budget)
            return fail(641);
        if (r.OnRequest == QLatin1String("Y") && !Text_In_Range(r.OnReq_Time, 2, 10000000))
            return fail(642);
    }
    return std::nullopt;
}

std::optional<Frame_Check_Failure> Check_Send_Rows(const QList<Send_Frame_Row>& rows, bool reduced)
{
    qint64 total = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const Send_Frame_Row& r = rows.at(i);
        const int row = i + 1;
        auto fail = [row](int message) { return Frame_Check_Failure{row, message}; };
        if (Blank(r.Priority))
            break;
        if (!Text_In_Range(r.Priority, 0, 7))
            return fail(736);
        if (Blank(r.DataPage))
            return fail(737);
        if (!Text_In_Range(r.PGN, 0, 65535))
            return fail(738);
        if (!Text_In_Range(r.SA, 0, 255))
            return fail(739);
        if (reduced)
            continue;
        if (!Text_In_Range(r.NumByte, 0, Frame_Byte_Budget))
            return fail(740);
        total += Text_To_Int(r.NumByte, -1);
        if (total > Frame_Byte_Budget)
            return fail(741);
        if (r.OnTimer == QLatin1String("Y") && !Text_In_Range(r.OnTimer_Time, 1, 10000000))
            return fail(742);
    }
    return std::nullopt;
}

QString Check_Failure_Text(int prefixMessage, const Frame_Check_Failure& failure)
{
    return Msg(prefixMessage) + QString::number(failure.row) + Msg(failure.message);
}
