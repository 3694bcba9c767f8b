// A look at the main window without the application object: loads the profile and skin of a
// directory laid out like the one beside the executable, shows the window, and can press and
// hover at given points and save a picture of the window. For people and screenshots, not run
// by the tests.
//
//   gui_preview DIR [--press X,Y]... [--move X,Y]... [--grab FILE.png] [--quit-after MS]

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTimer>

#include <cstdio>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/DeviceNoticeTarget.h"
#include "app/MouseConnection.h"
#include "device/DeviceNotice.h"
#include "gui/CHelpDialog.h"
#include "gui/CHidMouseDlg.h"
#include "gui/skin/SkinImageCache.h"
#include "ini/IniFile.h"
#include "platform/MessageSink.h"
#include "platform/linux/IconvTextCodec.h"
#include "platform/linux/SteadyClock.h"
#include "platform/qt/QtShell.h"
#include "profile/ConfigFiles.h"
#include "profile/ProfileFileNames.h"
#include "settings/PointerSettingsApplier.h"
#include "text/MainWindowTexts.h"

namespace {

using namespace veldrane;

class PrintingMessages : public MessageSink
{
public:
    void ShowMessage(std::string_view text, std::string_view title) override
    {
        std::printf("message [%.*s] %.*s\n", int(title.size()), title.data(), int(text.size()), text.data());
    }
    void ShowBalloon(std::string_view text, std::string_view title, std::chrono::milliseconds) override
    {
        std::printf("balloon [%.*s] %.*s\n", int(title.size()), title.data(), int(text.size()), text.data());
    }
};

class AbsentMouse : public MouseConnection
{
public:
    bool IsConnected() const override { return false; }
    void DownloadProfile(ProfileRecord&) override {}
};

class PrintingNotices : public DeviceNoticeTarget
{
public:
    void SendDeviceNotice(const DeviceNotice& notice) override
    {
        std::printf("device notice %d %d\n", notice.code, notice.value);
    }
};

class NoPointerSettings : public PointerSettingsApplier
{
public:
    void ApplyPointerSettings(const ProfileRecord&) override {}
};

QPoint ParsePoint(const QString& text)
{
    const QStringList parts = text.split(',');
    return parts.size() == 2 ? QPoint(parts[0].toInt(), parts[1].toInt()) : QPoint();
}

void Send(QWidget& widget, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QWidget* target = widget.childAt(p) ? widget.childAt(p) : &widget;
    const QPoint local = target->mapFrom(&widget, p);
    QMouseEvent event(type, QPointF(local), QPointF(target->mapToGlobal(local)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: gui_preview DIR [--press X,Y] [--move X,Y] [--grab FILE] [--quit-after MS]\n");
        return 2;
    }
    const std::filesystem::path directory = args[1].toStdString();

    PrintingMessages messages;
    IconvTextCodec codec;
    ConfigFiles files(directory, messages, codec);
    ProfileRecords records;
    files.LoadConfig(records.Current);
    records.Snapshot();
    const IniFile labels(files.labelPath, codec);
    const Language language = LanguageFromCode(labels.GetString(kSkinsSection, kLanguageKey));
    files.language = language;
    files.LoadLabels(language);

    AbsentMouse mouse;
    SteadyClock clock;
    QtShell shell;
    const std::filesystem::path skinDirectory = SkinDirectoryOf(directory, files.skin.path);
    SkinImageCache images(skinDirectory);
    NoPointerSettings pointerSettings;
    PrintingNotices notices;
    AppContext context{records,
                       files,
                       mouse,
                       messages,
                       clock,
                       shell,
                       images,
                       pointerSettings,
                       notices,
                       language,
                       MainWindowTextsFor(language),
                       skinDirectory};
    CHidMouseDlg window(context, images);
    window.Model().ShowFromTray();

    QString grabFile;
    int quitAfter = 800;
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == "--press") {
            const QPoint p = ParsePoint(args[i + 1]);
            Send(window, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
            Send(window, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
        } else if (args[i] == "--move") {
            Send(window, QEvent::MouseMove, ParsePoint(args[i + 1]), Qt::NoButton, Qt::NoButton);
        } else if (args[i] == "--grab") {
            grabFile = args[i + 1];
        } else if (args[i] == "--quit-after") {
            quitAfter = args[i + 1].toInt();
        }
    }
    QTimer::singleShot(quitAfter, &application, [&] {
        if (!grabFile.isEmpty()) {
            window.grab().save(grabFile);
        }
        QCoreApplication::exit(0);
    });
    return application.exec();
}
