#include "configurations/TextToInt.h"

std::optional<qint32> Parse_Int(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    bool neg = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        neg = text.at(i) == QLatin1Char('-');
        ++i;
    }
    auto at = [&](qsizetype k) { return k < n ? text.at(k).unicode() : char16_t(0); };

    bool hex = false;
    if (at(i) == u'$' || at(i) == u'x' || at(i) == u'X') {
        hex = true;
        i += 1;
    } else if (at(i) == u'0' && (at(i + 1) == u'x' || at(i + 1) == u'X')) {
        hex = true;
        i += 2;
    }

    if (i >= n)
        return std::nullopt;

    if (hex) {
        quint32 v = 0;
        int digits = 0;
        for (; i < n; ++i) {
            const char16_t c = text.at(i).unicode();
            int d;
            if (c >= u'0' && c <= u'9')
                d = c - u'0';
            else if (c >= u'a' && c <= u'f')
                d = c - u'a' + 10;
            else if (c >= u'A' && c <= u'F')
                d = c - u'A' + 10;
            else
                return std::nullopt;
            if (++digits > 8)
                return std::nullopt;
            v = (v << 4) | quint32(d);
        }
        // Two's-complement pattern: 0xFFFFFFFF is -1; the sign then negates it.
        const auto s = static_cast<qint32>(v);
        return neg ? static_cast<qint32>(0u - v) : s;
    }

    qint64 v = 0;
    for (; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c - u'0');
        if (v > 2147483648LL)
            return std::nullopt;
    }
    if (neg)
        v = -v;
    if (v > 2147483647LL)
        return std::nullopt;
    return static_cast<qint32>(v);
}

qint32 Text_To_Int(const QString& text, qint32 def)
{
    return Parse_Int(text).value_or(def);
}

bool Text_In_Range(const QString& text, qint64 low, qint64 high)
{
    const auto v = Parse_Int(text);
    return v && *v >= low && *v <= high;
}
