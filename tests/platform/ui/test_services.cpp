#include "platform/ui/Boxes.h"
#include "platform/ui/Modal.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/Twips.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <tuple>

namespace {

void MoveOver(QWidget& widget, QPointF at = QPointF(2, 2))
{
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

} // namespace

class TestServices : public QObject
{
    Q_OBJECT

private slots:
    // Each box with its text, caption, icon and buttons as asked; the button pressed is the
    // answer.
    void realBoxesShowWhatWasAskedAndAnswer()
    {
        SetBoxService(nullptr);
        const struct
        {
            BoxButtons buttons;
            BoxIcon icon;
            QString title, shownTitle;
            QMessageBox::StandardButton press;
            BoxAnswer answer;
            QMessageBox::Icon shownIcon;
            BoxDefault defaultButton;
            QMessageBox::StandardButton shownDefault;
        } boxes[] = {
            {BoxButtons::OK, BoxIcon::Exclamation, "", AppTitle(), QMessageBox::Ok, BoxAnswer::OK,
             QMessageBox::Warning, BoxDefault::First, QMessageBox::NoButton},
            {BoxButtons::YesNo, BoxIcon::None, "Delete All", "Delete All", QMessageBox::Yes,
             BoxAnswer::Yes, QMessageBox::NoIcon, BoxDefault::First, QMessageBox::Yes},
            {BoxButtons::YesNo, BoxIcon::None, "Delete All", "Delete All", QMessageBox::No,
             BoxAnswer::No, QMessageBox::NoIcon, BoxDefault::Second, QMessageBox::No},
        };
        QString text;
        for (const auto& asked : boxes) {
            QString title;
            QMessageBox::Icon icon = QMessageBox::Question;
            QMessageBox::StandardButtons buttons;
            QMessageBox::StandardButton shownDefault = QMessageBox::NoButton;
            WhenShown<QMessageBox>([&](QMessageBox& box) {
                title = box.windowTitle();
                text = box.text();
                icon = box.icon();
                buttons = box.standardButtons();
                shownDefault = box.standardButton(box.defaultButton());
                box.button(asked.press)->click();
            });
            QCOMPARE(
                MsgBox("Disk full", asked.buttons, asked.icon, asked.title, asked.defaultButton),
                asked.answer);
            QCOMPARE(shownDefault, asked.shownDefault);
            QCOMPARE(title, asked.shownTitle);
            QCOMPARE(text, QString("Disk full"));
            QCOMPARE(icon, asked.shownIcon);
            QCOMPARE(buttons, asked.buttons == BoxButtons::OK
                                  ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                  : QMessageBox::Yes | QMessageBox::No);
        }
        // Escape on a question is No; Enter presses the default button.
        for (const auto& [defaultButton, key, answer] :
             {std::tuple{BoxDefault::First, Qt::Key_Escape, BoxAnswer::No},
              std::tuple{BoxDefault::First, Qt::Key_Return, BoxAnswer::Yes},
              std::tuple{BoxDefault::Second, Qt::Key_Return, BoxAnswer::No}}) {
            WhenShown<QMessageBox>([key = key](QMessageBox& box) { QTest::keyClick(&box, key); });
            QCOMPARE(MsgBox("Delete?", BoxButtons::YesNo, BoxIcon::None, QString(), defaultButton),
                     answer);
        }

        // A text of any length: the box and its OK button stay on the screen, and the text
        // keeps its beginning and its end.
        QRect screen, shown;
        WhenShown<QMessageBox>([&](QMessageBox& box) {
            screen = box.screen()->availableGeometry();
            shown = QRect(box.pos(), box.size());
            shown |= QRect(box.button(QMessageBox::Ok)->mapToGlobal(QPoint(0, 0)), QSize(1, 1));
            text = box.text();
            box.button(QMessageBox::Ok)->click();
        });
        MsgBox("Refused: " + QString("words ").repeated(5000) + "at line 104", BoxButtons::OK,
               BoxIcon::Exclamation);
        QVERIFY2(shown.height() <= screen.height(), qPrintable(QString::number(shown.height())));
        QVERIFY(text.startsWith("Refused: words") && text.endsWith("words at line 104"));

        // The input box gives what was typed, or nothing when cancelled.
        QString label, title;
        WhenShown<QInputDialog>([&](QInputDialog& box) {
            label = box.labelText();
            title = box.windowTitle();
            box.findChild<QLineEdit*>()->setText("New Vendor");
            box.accept();
        });
        QCOMPARE(InputBox("Enter a name", QString(), "old"), QString("New Vendor"));
        QCOMPARE(label, QString("Enter a name"));
        QCOMPARE(title, AppTitle());
        WhenShown<QInputDialog>([](QInputDialog& box) { box.reject(); });
        QCOMPARE(InputBox("Enter a name", "Vendor", "old"), QString());
    }

    void driverServesNestedModalWindows()
    {
        QDialog outer;
        outer.setObjectName("outer");
        QWidget inner;
        inner.setObjectName("inner");
        QStringList seen;
        SetModalDriver([&](QWidget& window) {
            seen << window.objectName() + (window.isVisible() ? " shown" : " hidden");
            QVERIFY(window.isModal());
            if (&window == &outer) {
                ShowModal(inner, &outer);
                seen << QString("inner open: %1").arg(inner.isVisible());
            } else {
                // The driver may take itself away while it runs.
                SetModalDriver({});
            }
        });
        ShowModal(outer);
        QCOMPARE(seen, QStringList({"outer shown", "inner shown", "inner open: 0"}));
        QVERIFY(!outer.isVisible());
        QCOMPARE(outer.result(), int(QDialog::Rejected));

        // A window the driver closes itself is not closed a second time.
        int closes = 0;
        QDialog saved;
        QObject::connect(&saved, &QDialog::finished, &saved, [&] { ++closes; });
        SetModalDriver([](QWidget& window) { static_cast<QDialog&>(window).accept(); });
        ShowModal(saved);
        SetModalDriver({});
        QCOMPARE(closes, 1);
        QCOMPARE(saved.result(), int(QDialog::Accepted));
    }

    void realModalLoopEndsWhenThePlainWindowCloses()
    {
        QWidget window;
        bool visibleInside = false;
        QTimer::singleShot(50, &window, [&] {
            visibleInside = window.isVisible();
            window.close();
        });
        ShowModal(window);
        QVERIFY(visibleInside);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.windowModality(), Qt::ApplicationModal);
    }

    void twipsFollowTheScreen()
    {
        if (QGuiApplication::primaryScreen()->logicalDotsPerInchY() != 96)
            QSKIP("the screen's logical DPI is not 96");
        QCOMPARE(TwipsToPixels(12000), 800);
        QCOMPARE(TwipsToPixels(7), 0);
        QCOMPARE(TwipsToPixels(8), 1);
        QCOMPARE(PixelsToTwips(80), 1200.0);

        QWidget window;
        SetClientSizeTwips(window, 12000, 7230);
        QCOMPARE(window.size(), QSize(800, 482));
        // Two controls that touch in twips touch on screen, whatever the rounding.
        QWidget left(&window), right(&window);
        SetTwipsGeometry(left, 120, 120, 1000, 500);
        SetTwipsGeometry(right, 1120, 120, 1000, 500);
        QCOMPARE(left.geometry().right() + 1, right.geometry().left());
        QCOMPARE(left.geometry(), QRect(8, 8, 67, 33));
    }

    void pointerRule()
    {
        QWidget window;
        auto* button = new QPushButton("Go", &window);
        auto* list = new QListView(&window);
        button->setGeometry(10, 10, 80, 30);
        list->setGeometry(10, 50, 200, 100);
        PointerRule rule(window);
        rule.AddButtons({button});
        rule.AddResetAreas({list});
        QVERIFY(!rule.HasMouseIcon());

        // Without a picture, the custom pointer looks like the default one.
        MoveOver(*button);
        QCOMPARE(rule.Pointer(), MousePointer::Custom);
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);

        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        rule.SetMouseIcon(QCursor(picture, 1, 2));
        QVERIFY(rule.HasMouseIcon());
        QCOMPARE(window.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(window.cursor().hotSpot(), QPoint(1, 2));

        MoveOver(*list->viewport());
        QCOMPARE(rule.Pointer(), MousePointer::Default);
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
        MoveOver(*button);
        QCOMPARE(rule.Pointer(), MousePointer::Custom);
        MoveOver(window);
        QCOMPARE(rule.Pointer(), MousePointer::Default);

        // A move that the button passes on to the window keeps the hand.
        MoveOver(window, QPointF(15, 15));
        QCOMPARE(rule.Pointer(), MousePointer::Custom);

        rule.SetPointer(MousePointer::Hourglass);
        QCOMPARE(window.cursor().shape(), Qt::WaitCursor);
        MoveOver(*list);
        MoveOver(*button);
        MoveOver(window);
        QCOMPARE(rule.Pointer(), MousePointer::Hourglass);
        rule.SetPointer(MousePointer::Default);
        MoveOver(*button);
        QCOMPARE(rule.Pointer(), MousePointer::Custom);
    }
};

QTEST_MAIN(TestServices)
#include "test_services.moc"
