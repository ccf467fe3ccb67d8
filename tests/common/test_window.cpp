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
#include <QtEndian>

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

// A cursor file of one 32 x 32 picture, 1 bit a pixel, with the given hot spot.
QByteArray TinyCursor(quint16 hotX, quint16 hotY)
{
    constexpr int size = 32;
    constexpr int rowBytes = size / 8;
    QByteArray image;
    auto put16 = [&image](quint16 v) { image.append(char(v & 0xff)).append(char(v >> 8)); };
    auto put32 = [&](quint32 v) {
        put16(quint16(v & 0xffff));
        put16(quint16(v >> 16));
    };
    put32(40);       // header size
    put32(size);     // width
    put32(size * 2); // height: picture and mask
    put16(1);        // planes
    put16(1);        // bits a pixel
    for (int i = 0; i < 6; ++i)
        put32(0);
    put32(0x00000000);                                 // palette: black
    put32(0x00ffffff);                                 // white
    image.append(QByteArray(size * rowBytes, '\x0f')); // the picture
    image.append(QByteArray(size * rowBytes, '\0'));   // the mask: every pixel shown

    QByteArray file;
    auto f16 = [&file](quint16 v) { file.append(char(v & 0xff)).append(char(v >> 8)); };
    f16(0);
    f16(2); // a cursor
    f16(1);
    file.append(char(size)).append(char(size)).append('\0').append('\0');
    f16(hotX);
    f16(hotY);
    const quint32 length = quint32(image.size()), offset = 6 + 16;
    f16(quint16(length & 0xffff));
    f16(quint16(length >> 16));
    f16(quint16(offset));
    f16(0);
    return file + image;
}

} // namespace

class TestWindowServices : public QObject
{
    Q_OBJECT

private slots:
    void titleIsCutWordByWord_data();
    void titleIsCutWordByWord();
    void setAppTitleGivesBoxesTheirCaption();
    void colouringTouchesOnlyItsKinds();
    void withoutSkinFileNothingChanges();
    void skinFileColoursAndSkinsTheMainWindow();
    void handPointerAbsentPresentOrBroken();
};

void TestWindowServices::titleIsCutWordByWord_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("title");
    QTest::newRow("one word stays whole") << "Tarnwick"
                                          << "Tarnwick";
    QTest::newRow("last word goes") << "Tarnwick Asset Inventory"
                                    << "Tarnwick Asset";
    QTest::newRow("cut until it fits") << "Tarnwick Asset Inventory for Small Businesses Everywhere"
                                       << "Tarnwick Asset Inventory for Small";
    QTest::newRow("exactly forty after one cut") << QString(40, 'a') + " tail" << QString(40, 'a');
    QTest::newRow("a long single word cannot be cut") << QString(50, 'x') << QString(50, 'x');
    QTest::newRow("long words, only the first left")
        << QString(45, 'a') + " " + QString(10, 'b') << QString(45, 'a');
}

void TestWindowServices::titleIsCutWordByWord()
{
    QFETCH(QString, product);
    QFETCH(QString, title);
    QCOMPARE(AppTitleFromProductName(product), title);
}

void TestWindowServices::setAppTitleGivesBoxesTheirCaption()
{
    TestEnvironment env;
    SetAppTitle();
    QCOMPARE(AppTitle(), QString("Tarnwick"));
    env.boxes.ExpectMessage(BoxAnswer::OK);
    env.boxes.ExpectMessage(BoxAnswer::Yes);
    env.boxes.ExpectInput("typed");
    MsgBox("No caption");
    QCOMPARE(MsgBox("Own caption", BoxButtons::YesNo, BoxIcon::Question, "Delete"), BoxAnswer::Yes);
    QCOMPARE(InputBox("Name?", QString(), "old"), QString("typed"));
    QCOMPARE(env.boxes.shown()[0].request.title, QString("Tarnwick"));
    QCOMPARE(env.boxes.shown()[1].request.title, QString("Delete"));
    QCOMPARE(env.boxes.shown()[1].request.icon, BoxIcon::Question);
    QCOMPARE(env.boxes.shown()[2].request.title, QString("Tarnwick"));
    QCOMPARE(env.boxes.shown()[2].defaultText, QString("old"));
}

void TestWindowServices::colouringTouchesOnlyItsKinds()
{
    SampleWindow w;
    ColorForm(w.window);
    QVERIFY(Coloured(w.window));
    QVERIFY(Coloured(*w.label));
    QVERIFY(Coloured(*w.frame));
    QVERIFY(Coloured(*w.option));
    QVERIFY(Coloured(*w.check));
    QVERIFY(!w.text->autoFillBackground());
    QVERIFY(!w.button->autoFillBackground());
}

void TestWindowServices::withoutSkinFileNothingChanges()
{
    TestEnvironment env;
    SampleWindow w;
    const QPalette before = w.window.palette();
    SkinMainWindow(w.window);
    QVERIFY(!w.window.autoFillBackground());
    QVERIFY(!w.label->autoFillBackground());
    QCOMPARE(w.window.palette(), before);
    QVERIFY(w.window.styleSheet().isEmpty());
}

void TestWindowServices::skinFileColoursAndSkinsTheMainWindow()
{
    TestEnvironment env;
    const QByteArray sheet = "QPushButton { color: rgb(10, 20, 30); }";
    WriteFile(env.programFolder() + "/x/o.cjs", sheet);
    SampleWindow w;
    SkinMainWindow(w.window);
    QVERIFY(Coloured(w.window));
    QVERIFY(Coloured(*w.check));
    QCOMPARE(w.window.styleSheet(), QString::fromUtf8(sheet));
    w.window.ensurePolished();
    w.button->ensurePolished();
    QCOMPARE(w.button->palette().color(QPalette::ButtonText), QColor(10, 20, 30));
}

void TestWindowServices::handPointerAbsentPresentOrBroken()
{
    TestEnvironment env;
    QVERIFY(!LoadHandPointer().has_value());

    WriteFile(env.programFolder() + "/HAND-M.CUR", TinyCursor(5, 3));
    const std::optional<QCursor> hand = LoadHandPointer();
    QVERIFY(hand.has_value());
    QCOMPARE(hand->pixmap().size(), QSize(32, 32));
    QCOMPARE(hand->hotSpot(), QPoint(5, 3));

    // A file that is there but no cursor is the caller's error to report.
    WriteFile(env.programFolder() + "/HAND-M.CUR", "not a cursor at all");
    QVERIFY_THROWS_EXCEPTION(RuntimeError, LoadHandPointer());
}

QTEST_MAIN(TestWindowServices)
#include "test_window.moc"
