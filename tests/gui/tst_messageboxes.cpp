#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QString Source_Language_Dir()
{
    return QDir::cleanPath(QStringLiteral(TEST_DATA_DIR "/../../LANGUAGE"));
}

// Runs `inBox` on the message box as soon as it is shown modally; `inBox` must close it.
void When_Box_Shows(const std::function<void(QMessageBox*)>& inBox, int tries = 200)
{
    QTimer::singleShot(10, qApp, [inBox, tries] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            inBox(box);
        else if (tries > 0)
            When_Box_Shows(inBox, tries - 1);
    });
}

// The texts as shown, without the marks of their Alt letters.
QStringList Button_Texts(const QMessageBox* box)
{
    QStringList texts;
    for (const QAbstractButton* b : box->buttons())
        texts.append(QString(b->text()).remove(QLatin1Char('&')));
    texts.sort();
    return texts;
}

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

// The real message boxes of the windows, not the test double.
class Tst_MessageBoxes final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        Reset_Shared();
        Set_Ui(nullptr);
        Load_Default_Language();
    }

    void buttons_speak_the_language_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("yes");
        QTest::addColumn<QString>("no");
        QTest::addColumn<QString>("ok");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("English") << "English" << "Yes" << "No" << "OK" << "Cancel";
        QTest::newRow("Italiano") << "Italiano" << "Sì" << "No" << "OK" << "Annulla";
        QTest::newRow("Deutsch") << "Deutsch" << "Ja" << "Nein" << "OK" << "Abbrechen";
        QTest::newRow("Français") << "Français" << "Oui" << "Non" << "OK" << "Annuler";
        QTest::newRow("Español") << "Español" << "Sí" << "No" << "Aceptar" << "Cancelar";
    }
    void buttons_speak_the_language()
    {
        QFETCH(QString, language);
        QFETCH(QString, yes);
        QFETCH(QString, no);
        QFETCH(QString, ok);
        QFETCH(QString, cancel);
        QVERIFY(Read_Lng_File(Source_Language_Dir() + QLatin1Char('/') + language
                              + QStringLiteral(".lng")));

        QStringList question, defaultButton;
        QList<QKeySequence> altKeys;
        When_Box_Shows([&](QMessageBox* box) {
            question = Button_Texts(box);
            altKeys = {box->button(QMessageBox::Yes)->shortcut(),
                       box->button(QMessageBox::No)->shortcut()};
            defaultButton.append(box->defaultButton() ? box->defaultButton()->text() : QString());
            box->button(QMessageBox::No)->click();
        });
        QVERIFY(!Ui().Confirm_Box(QStringLiteral("Delete?")));
        QCOMPARE(question, (Sorted({yes, no})));
        QCOMPARE(defaultButton.size(), 1);
        QCOMPARE(defaultButton[0].remove(QLatin1Char('&')), no);
        // Alt and the first letter of each word answer, as they did with Qt's English texts.
        const auto alt = [](const QString& word) {
            return QKeySequence(QStringLiteral("Alt+") + word.front().toUpper());
        };
        QCOMPARE(altKeys, (QList<QKeySequence>{alt(yes), alt(no)}));

        // The error, warning and plain boxes each have their OK button.
        const std::function<void(const QString&)> boxes[] = {
            [](const QString& t) { Ui().Error_Box(t); },
            [](const QString& t) { Ui().Warning_Box(t); },
            [](const QString& t) { Ui().Info_Box(t); },
        };
        for (const auto& show : boxes) {
            QStringList texts;
            When_Box_Shows([&](QMessageBox* box) {
                texts = Button_Texts(box);
                box->button(QMessageBox::Ok)->click();
            });
            show(QStringLiteral("Something"));
            QCOMPARE(texts, QStringList{ok});
        }

        // A box a window builds itself, with Cancel.
        QMessageBox own(QMessageBox::Question, QString(), QStringLiteral("Save?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok
                            | QMessageBox::Cancel);
        Set_Box_Button_Texts(own);
        QCOMPARE(Button_Texts(&own), (Sorted({yes, no, ok, cancel})));
    }

    // New texts, the same keys: Enter takes the default button (No), Escape says No, and only
    // Yes says yes.
    void keys_keep_their_meaning_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("key"); // 0: click Yes
        QTest::addColumn<bool>("answer");
        for (const char* language : {"English", "Deutsch"}) {
            QTest::addRow("%s: Enter", language) << language << int(Qt::Key_Return) << false;
            QTest::addRow("%s: Escape", language) << language << int(Qt::Key_Escape) << false;
            QTest::addRow("%s: Yes", language) << language << 0 << true;
        }
    }
    void keys_keep_their_meaning()
    {
        QFETCH(QString, language);
        QFETCH(int, key);
        QFETCH(bool, answer);
        QVERIFY(Read_Lng_File(Source_Language_Dir() + QLatin1Char('/') + language
                              + QStringLiteral(".lng")));
        When_Box_Shows([key](QMessageBox* box) {
            if (key == 0)
                box->button(QMessageBox::Yes)->click();
            else
                QTest::keyClick(box, Qt::Key(key));
        });
        QCOMPARE(Ui().Confirm_Box(QStringLiteral("Delete?")), answer);

        if (key != 0) { // the one button of an error box answers both keys
            bool closed = false;
            When_Box_Shows([key, &closed](QMessageBox* box) {
                QTest::keyClick(box, Qt::Key(key));
                closed = !box->isVisible();
            });
            Ui().Error_Box(QStringLiteral("Something"));
            QVERIFY(closed);
        }
    }
};

QTEST_MAIN(Tst_MessageBoxes)
#include "tst_messageboxes.moc"
