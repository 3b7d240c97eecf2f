#include "editors/FrameChecks.h"

#include "configurations/TextToInt.h"
#include "language/ULanguage.h"

namespace {

bool Blank(const QString& text)
{
    return text.trimmed().isEmpty();
}

} // namespace

namespace {

// The checks of one table in their order. With `all`, a failing row is noted and the checks go
// on with the next row; its bytes count only once they have passed their own check, as they
// would once the row is mended. Without, the first failure ends them, as OK does.
QList<Frame_Check_Failure> Receive_Failures(const QList<Receive_Frame_Row>& rows, bool reduced,
                                            bool all)
{
    QList<Frame_Check_Failure> failures;
    // 64 bits: start plus a huge count must not wrap round into the allowed range.
    qint64 total = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const Receive_Frame_Row& r = rows.at(i);
        const int row = i + 1;
        const auto message = [&]() -> int {
            if (Blank(r.DataPage))
                return 636;
            if (!Text_In_Range(r.PGN, 0, 65535))
                return 637;
            if (!Text_In_Range(r.SA, 0, 255))
                return 638;
            if (reduced)
                return 0;
            qint64 start = 0;
            if (!Blank(r.StartByte)) {
                if (!Text_In_Range(r.StartByte, 0, 1785))
                    return 639;
                start = Text_To_Int(r.StartByte, -1);
            }
            qint64 count = 8;
            if (!Blank(r.NumBytes)) {
                count = Text_To_Int(r.NumBytes, -1);
                if (count < 1 || count + start > Frame_Byte_Budget)
                    return 640;
            }
            total += count;
            if (total > Frame_Byte_Budget)
                return 641;
            if (r.OnRequest == QLatin1String("Y") && !Text_In_Range(r.OnReq_Time, 2, 10000000))
                return 642;
            return 0;
        };
        if (Blank(r.PGN))
            break;
        if (const int m = message()) {
            failures.append({row, m});
            if (!all)
                break;
        }
    }
    return failures;
}

QList<Frame_Check_Failure> Send_Failures(const QList<Send_Frame_Row>& rows, bool reduced, bool all)
{
    QList<Frame_Check_Failure> failures;
    qint64 total = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const Send_Frame_Row& r = rows.at(i);
        const int row = i + 1;
        const auto message = [&]() -> int {
            if (!Text_In_Range(r.Priority, 0, 7))
                return 736;
            if (Blank(r.DataPage))
                return 737;
            if (!Text_In_Range(r.PGN, 0, 65535))
                return 738;
            if (!Text_In_Range(r.SA, 0, 255))
                return 739;
            if (reduced)
                return 0;
            if (!Text_In_Range(r.NumByte, 0, Frame_Byte_Budget))
                return 740;
            total += Text_To_Int(r.NumByte, -1);
            if (total > Frame_Byte_Budget)
                return 741;
            if (r.OnTimer == QLatin1String("Y") && !Text_In_Range(r.OnTimer_Time, 1, 10000000))
                return 742;
            return 0;
        };
        if (Blank(r.Priority))
            break;
        if (const int m = message()) {
            failures.append({row, m});
            if (!all)
                break;
        }
    }
    return failures;
}

template <typename T> std::optional<T> First(const QList<T>& list)
{
    return list.isEmpty() ? std::nullopt : std::optional<T>(list.first());
}

} // namespace

std::optional<Frame_Check_Failure> Check_Receive_Rows(const QList<Receive_Frame_Row>& rows,
                                                      bool reduced)
{
    return First(Receive_Failures(rows, reduced, false));
}

std::optional<Frame_Check_Failure> Check_Send_Rows(const QList<Send_Frame_Row>& rows, bool reduced)
{
    return First(Send_Failures(rows, reduced, false));
}

QList<Frame_Check_Failure> All_Receive_Failures(const QList<Receive_Frame_Row>& rows, bool reduced)
{
    return Receive_Failures(rows, reduced, true);
}

QList<Frame_Check_Failure> All_Send_Failures(const QList<Send_Frame_Row>& rows, bool reduced)
{
    return Send_Failures(rows, reduced, true);
}

int Receive_Bytes_Used(const QList<Receive_Frame_Row>& rows)
{
    qint64 total = 0;
    for (const Receive_Frame_Row& r : rows) {
        if (Blank(r.PGN))
            break;
        const qint64 start = Blank(r.StartByte) ? 0 : Text_To_Int(r.StartByte, -1);
        if (start < 0 || start > 1785)
            continue;
        if (Blank(r.NumBytes)) {
            total += 8;
            continue;
        }
        const qint64 count = Text_To_Int(r.NumBytes, -1);
        if (count >= 1 && count + start <= Frame_Byte_Budget)
            total += count;
    }
    return int(total);
}

int Send_Bytes_Used(const QList<Send_Frame_Row>& rows)
{
    qint64 total = 0;
    for (const Send_Frame_Row& r : rows) {
        if (Blank(r.Priority))
            break;
        if (Text_In_Range(r.NumByte, 0, Frame_Byte_Budget))
            total += Text_To_Int(r.NumByte, -1);
    }
    return int(total);
}

int Failure_Column(int message)
{
    switch (message) {
    case 636:
        return 0;
    case 637:
        return 1;
    case 638:
        return 2;
    case 639:
        return 4;
    case 640:
    case 641:
        return 5;
    case 642:
        return 8;
    case 736:
        return 0;
    case 737:
        return 1;
    case 738:
        return 2;
    case 739:
        return 3;
    case 740:
    case 741:
        return 4;
    case 742:
        return 8;
    default:
        return -1;
    }
}

QString Check_Failure_Text(int prefixMessage, const Frame_Check_Failure& failure)
{
    return Msg(prefixMessage) + QString::number(failure.row) + Msg(failure.message);
}
