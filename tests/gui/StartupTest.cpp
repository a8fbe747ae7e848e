#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "core/Broadcast.h"
#include "gui/core/Program.h"
#include "core/SharedData.h"

class StartupTest : public QObject
{
    Q_OBJECT
  private slots:
    void missingRegisterFileStopsWithAbortBox()
    {
        SetProgramDir(QDir::tempPath().toStdString() + "/orlik-no-such-dir");
        QString Text, Title;
        QList<QAbstractButton*> Buttons;
        QTimer::singleShot(0, [&] {
            auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(Box);
            Text = Box->text();
            Title = Box->windowTitle();
            Buttons = Box->buttons();
            Box->button(QMessageBox::Abort)->click();
        });
        QVERIFY(!CreateProgram());
        FreeProgram();
        QCOMPARE(Text, QStringLiteral("Could not find SNES.txt"));
        QCOMPARE(Title, QStringLiteral("Orlik"));
        QCOMPARE(Buttons.size(), 1);
    }

    void startsWithTitleAndMainWindow()
    {
        SetProgramDir(ORLIK_RESOURCE_DIR);
        QVERIFY(CreateProgram());
        Startup();
        QCOMPARE(QApplication::applicationName(), QStringLiteral("Orlik v2.86"));
        QVERIFY(MainWindow());
        QVERIFY(ReceiverAt(WindowSlot(3)));
        FreeProgram();
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
