#include "app/UComon.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QtTest>

#include <algorithm>

namespace {

QString Source_Language_Dir()
{
    return QDir::cleanPath(QStringLiteral(TEST_DATA_DIR "/../../LANGUAGE"));
}

const QStringList Shipped = {"English", "Italiano", "Deutsch", "Français", "Español"};

// Slots that hold a built-in text: every other slot is a single blank.
QList<int> Used_Slots(const QStringList& defaults)
{
    QList<int> used;
    for (int i = 0; i < defaults.size(); ++i) {
        if (defaults.at(i) != QLatin1String(" "))
            used.append(i);
    }
    return used;
}

bool Starts_Blank(const QString& s)
{
    return !s.isEmpty() && s.front() == QLatin1Char(' ');
}
bool Ends_Blank(const QString& s)
{
    return !s.isEmpty() && s.back() == QLatin1Char(' ');
}

quint32 Le32(const QByteArray& b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
           quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}

} // namespace

class tst_shippedlanguages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Reset_Shared(); }

    void englishEqualsBuiltInTexts()
    {
        Load_Default_Language();
        const QStringList defaults = Shared.Lang_Table;
        QVERIFY(Read_Lng_File(Source_Language_Dir() + QStringLiteral("/English.lng")));
        for (int i = 0; i < defaults.size(); ++i)
            QVERIFY2(
                Shared.Lang_Table.at(i) == defaults.at(i),
                qPrintable(QStringLiteral("slot %1: \"%2\"").arg(i).arg(Shared.Lang_Table.at(i))));
    }

    void completeFile_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString& name : Shipped)
            QTest::newRow(qPrintable(name)) << name;
    }
    void completeFile()
    {
        QFETCH(QString, language);
        const QString path = Source_Language_Dir() + QLatin1Char('/') + language + ".lng";
        const QByteArray bytes = Read_All(path);
        QVERIFY2(bytes.startsWith("\xEF\xBB\xBF"), "UTF-8 byte-order mark");
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(bytes.mid(3));
        QVERIFY2(!utf8.hasError(), "valid UTF-8");

        Load_Default_Language();
        const QStringList defaults = Shared.Lang_Table;
        const QList<int> used = Used_Slots(defaults);

        // Each used slot exactly once, and no other.
        QList<int> inFile;
        static const QRegularExpression strLine(QStringLiteral("^\\s*STR(\\d+)\\s"),
                                                QRegularExpression::MultilineOption);
        for (auto it = strLine.globalMatch(text); it.hasNext();)
            inFile.append(it.next().captured(1).toInt());
        std::sort(inFile.begin(), inFile.end());
        QCOMPARE(inFile, used);

        // Every line takes effect.
        const QString mark = QStringLiteral("\x01");
        for (QString& s : Shared.Lang_Table)
            s = mark;
        QVERIFY(Read_Lng_File(path));
        for (int i = 0; i < defaults.size(); ++i) {
            const QString& got = Shared.Lang_Table.at(i);
            const QString where = QStringLiteral("slot %1: \"%2\"").arg(i).arg(got);
            if (!used.contains(i)) {
                QVERIFY2(got == mark, qPrintable(where));
                continue;
            }
            QVERIFY2(got != mark && !got.trimmed().isEmpty(), qPrintable(where));
            // Texts joined to a value keep the blanks that separate them from it.
            if (Starts_Blank(defaults.at(i)))
                QVERIFY2(Starts_Blank(got), qPrintable(where));
            if (Ends_Blank(defaults.at(i)))
                QVERIFY2(Ends_Blank(got), qPrintable(where));
        }
    }

    // "Open Configuration" on the main window opens the window of that title: the same verb
    // in every language.
    void openButtonNamesItsWindow_data() { completeFile_data(); }
    void openButtonNamesItsWindow()
    {
        QFETCH(QString, language);
        Load_Default_Language();
        QVERIFY(Read_Lng_File(Source_Language_Dir() + QLatin1Char('/') + language + ".lng"));
        QCOMPARE(Msg(16), Msg(200));
    }

    void flagPictures_data()
    {
        QTest::addColumn<QString>("picture");
        for (const QString& name : Shipped)
            QTest::newRow(qPrintable(name)) << name + ".bmp";
        QTest::newRow("DefaultFlag") << QStringLiteral("DefaultFlag.bmp");
    }
    void flagPictures()
    {
        QFETCH(QString, picture);
        const QByteArray b = Read_All(Source_Language_Dir() + QLatin1Char('/') + picture);
        QVERIFY(b.size() > 54);
        QVERIFY(b.startsWith("BM"));
        QCOMPARE(Le32(b, 18), 48u); // width
        QCOMPARE(Le32(b, 22), 48u); // height
    }

    void copiedBesideTheProgram()
    {
        const QString cli = qEnvironmentVariable("SW38591_CLI");
        if (cli.isEmpty())
            QSKIP("SW38591_CLI not set (run through ctest)");
        const QString copied = QFileInfo(cli).absolutePath() + QStringLiteral("/LANGUAGE");
        const QStringList files = QDir(Source_Language_Dir()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 2 * Shipped.size() + 1);
        for (const QString& f : files)
            QVERIFY2(Read_All(copied + QLatin1Char('/') + f) ==
                         Read_All(Source_Language_Dir() + QLatin1Char('/') + f),
                     qPrintable(f));
    }
};

QTEST_GUILESS_MAIN(tst_shippedlanguages)
#include "tst_shippedlanguages.moc"
