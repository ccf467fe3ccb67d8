#include "mainwindow/CommandsFixture.h"

#include "editor/EditorFixture.h"

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void showsTheContactPageWhateverTheList()
    {
        TestEnvironment env;
        auto form = StartMainWindow();
        for (int i = 0; i < 3; ++i)
            env.boxes.ExpectMessage(BoxAnswer::OK);
        Click(*form, "PushButton6");
        AddAsset(AssetRow(AddLookupRows()));
        form->ListData();
        Click(*form, "PushButton6");
        form->ListView1->SelectItem(0);
        Click(*form, "PushButton6");

        QCOMPARE(env.boxes.shown().size(), 3);
        for (const RecordingBoxes::Shown& box : env.boxes.shown()) {
            QCOMPARE(box.request.prompt, QString("Questions? Please contact Team Velquor at "
                                                 "https://www.tarnwick.example/contact/"));
            QCOMPARE(box.request.title, QString("Tarnwick"));
            QCOMPARE(box.request.buttons, BoxButtons::OK);
            QCOMPARE(box.request.icon, BoxIcon::None);
        }
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
