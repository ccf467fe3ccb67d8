#include "common/ErrorTrap.h"
#include "common/Window.h"
#include "platform/RuntimeError.h"
#include "platform/ui/Boxes.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

QColor ButtonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

bool Coloured(const QWidget& widget)
{
    return widget.autoFillBackground() && widget.palette().color(QPalette::Window) == ButtonFace();
}

// A window with one control of each kind that colouring knows, plus two it leaves alone.
struct SampleWindow
{
    QWidget window;
    QLabel* label = new QLabel("Label", &window);
    QGroupBox* frame = new QGroupBox("Frame", &window);
    QRadioButton* option = new QRadioButton("Option", frame);
    QCheckBox* check = new QCheckBox("Check", frame);
    QLineEdit* text = new QLineEdit(&window);
    QPushButton* button = new QPushButton("Button", &window);
};

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// The program title, boxes, colouring, skins and pointer every window uses, and the report
// of a failing step.
class TestWindowServices : public QObject
{
    Q_OBJECT

private slots:
    // The product name loses its last word, and more until it fits; a first word that is too
    // long on its own stays whole.
    void titleIsCutWordByWord()
    {
        const std::pair<QString, QString> titles[] = {
            {"Tarnwick", "Tarnwick"},
            {"Tarnwick Asset Inventory", "Tarnwick Asset"},
            {"Tarnwick Asset Inventory for Small Businesses Everywhere",
             "Tarnwick Asset Inventory for Small"},
            {QString(40, 'a') + " tail", QString(40, 'a')},
            {QString(50, 'x'), QString(50, 'x')},
            {QString(45, 'a') + " " + QString(10, 'b'), QString(45, 'a')}};
        for (const auto& [product, title] : titles)
            QCOMPARE(AppTitleFromProductName(product), title);
    }

    void setAppTitleGivesBoxesTheirCaption()
    {
        TestEnvironment env;
        SetAppTitle();
        QCOMPARE(AppTitle(), QString("Tarnwick"));
        env.boxes.ExpectMessage(BoxAnswer::OK);
        env.boxes.ExpectMessage(BoxAnswer::Yes);
        env.boxes.ExpectInput("typed");
        MsgBox("No caption");
        QCOMPARE(MsgBox("Own caption", BoxButtons::YesNo, BoxIcon::Question, "Delete"),
                 BoxAnswer::Yes);
        QCOMPARE(InputBox("Name?", QString(), "old"), QString("typed"));
        QCOMPARE(env.boxes.shown()[0].request.title, QString("Tarnwick"));
        QCOMPARE(env.boxes.shown()[1].request.title, QString("Delete"));
        QCOMPARE(env.boxes.shown()[1].request.icon, BoxIcon::Question);
        QCOMPARE(env.boxes.shown()[2].request.title, QString("Tarnwick"));
        QCOMPARE(env.boxes.shown()[2].defaultText, QString("old"));
    }

    // Colouring touches only its kinds; skinning does nothing without a skin file and with one
    // colours the window and applies the file's style sheet.
    void colouringAndSkinning()
    {
        TestEnvironment env;
        SampleWindow coloured, plain, skinned;
        ColorForm(coloured.window);
        for (QWidget* w : QList<QWidget*>{&coloured.window, coloured.label, coloured.frame,
                                          coloured.option, coloured.check})
            QVERIFY2(Coloured(*w), w->metaObject()->className());
        QVERIFY(!coloured.text->autoFillBackground() && !coloured.button->autoFillBackground());

        const QPalette before = plain.window.palette();
        SkinMainWindow(plain.window);
        QVERIFY(!plain.window.autoFillBackground() && !plain.label->autoFillBackground());
        QCOMPARE(plain.window.palette(), before);
        QVERIFY(plain.window.styleSheet().isEmpty());

        const QByteArray sheet = "QPushButton { color: rgb(10, 20, 30); }";
        WriteFile(env.programFolder() + "/x/o.cjs", sheet);
        SkinMainWindow(skinned.window);
        QVERIFY(Coloured(skinned.window) && Coloured(*skinned.check));
        QCOMPARE(skinned.window.styleSheet(), QString::fromUtf8(sheet));
        skinned.window.ensurePolished();
        skinned.button->ensurePolished();
        QCOMPARE(skinned.button->palette().color(QPalette::ButtonText), QColor(10, 20, 30));
    }

    // The hand the build draws beside the program: a 32 x 32 picture whose hot spot is the
    // fingertip, its topmost drawn pixel.
    void handPointerAbsentPresentOrBroken()
    {
        TestEnvironment env;
        QVERIFY(!LoadHandPointer().has_value());

        QVERIFY(QFile::copy(HandCursorPath(), env.programFolder() + "/HAND-M.CUR"));
        const std::optional<QCursor> hand = LoadHandPointer();
        QVERIFY(hand.has_value());
        const QImage picture = hand->pixmap().toImage();
        QCOMPARE(picture.size(), QSize(32, 32));
        int top = 32;
        for (int y = 31; y >= 0; --y)
            for (int x = 0; x < 32; ++x)
                top = qAlpha(picture.pixel(x, y)) == 255 ? y : top;
        QCOMPARE(hand->hotSpot().y(), top);
        QCOMPARE(qAlpha(picture.pixel(hand->hotSpot())), 255);

        // A file that is there but no cursor is the caller's error to report.
        WriteFile(env.programFolder() + "/HAND-M.CUR", "not a cursor at all");
        QVERIFY_THROWS_EXCEPTION(RuntimeError, LoadHandPointer());
    }

    void reportTextAndBox()
    {
        TestEnvironment env;
        env.boxes.ExpectMessage(BoxAnswer::OK);
        ReportError("File not found", "in Tarnwick2021/08/31.Form1.Form_Load ", 104);
        const QString expected = "File not found\r\nin Tarnwick2021/08/31.Form1.Form_Load at line "
                                 "104\r\rPlease email screenshot of this message to "
                                 "support@tarnwick.example";
        QCOMPARE(env.boxes.shown().size(), 1);
        const BoxRequest& box = env.boxes.shown()[0].request;
        QCOMPARE(box.prompt, expected);
        QCOMPARE(box.title, QString("Application Error"));
        QCOMPARE(box.buttons, BoxButtons::OK);
        QCOMPARE(box.icon, BoxIcon::Exclamation);
    }

    void failingStepIsReportedAndTheNextRuns()
    {
        TestEnvironment env;
        env.boxes.ExpectMessage(BoxAnswer::OK);
        ErrorTrap trap("in Tarnwick2021/08/31.Form2.LoadData ");
        QStringList ran;
        QVERIFY(trap(100, [&] { ran << "100"; }));
        QVERIFY(!trap.Failed());
        QVERIFY(!trap(102, [&] {
            ran << "102";
            throw RuntimeError("Invalid use of Null", 94);
            ran << "after the throw";
        }));
        QVERIFY(trap(104, [&] { ran << "104"; }));
        QCOMPARE(ran, QStringList({"100", "102", "104"}));
        QVERIFY(trap.Failed());
        QCOMPARE(env.boxes.prompts(),
                 QStringList{ErrorReportText("Invalid use of Null",
                                             "in Tarnwick2021/08/31.Form2.LoadData ", 102)});
    }

    void everyKindOfFailureIsReportedOnce()
    {
        TestEnvironment env;
        for (int i = 0; i < 3; ++i)
            env.boxes.ExpectMessage(BoxAnswer::OK);
        ErrorTrap trap("in Tarnwick2021/08/31.Form4.SetData ");
        trap(100, [] { throw RuntimeError("Type mismatch", 13); });
        trap(102, [] { throw std::out_of_range("position past the end"); });
        trap(104, [] { throw 42; });
        const QStringList prompts = env.boxes.prompts();
        QCOMPARE(prompts.size(), 3);
        QVERIFY(prompts[0].startsWith(
            "Type mismatch\r\nin Tarnwick2021/08/31.Form4.SetData at line 100\r\r"));
        QVERIFY(prompts[1].startsWith("position past the end\r\n"));
        QVERIFY(prompts[1].contains("at line 102\r\r"));
        QVERIFY(prompts[2].contains("at line 104\r\r"));
        QVERIFY(env.boxes.allAnswersUsed());
    }
};

QTEST_MAIN(TestWindowServices)
#include "test_window.moc"
