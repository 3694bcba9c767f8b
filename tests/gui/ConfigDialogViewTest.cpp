#include "gui/CConfigDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include "gui/CLBEditorWnd.h"
#include "gui/GuiFixture.h"
#include "gui/QtProfileFileDialog.h"
#include "gui/skin/SkinImageCache.h"
#include "profile/InstalledProfiles.h"
#include "profile/ScriptedFileDialog.h"

namespace veldrane {
namespace {

using test::Patterned;
using Shown = test::RecordingMessageSink::Shown;

constexpr QRgb kBackground = 0xff203040;
constexpr QRgb kCloseNormal = 0xff0000ff;
constexpr QRgb kCloseOver = 0xffff0000;
constexpr QRgb kNewRow = 0xff00ff00;

class ConfigDialogViewTest : public test::InstalledProfiles
{
protected:
    ConfigDialogViewTest()
    {
        test::TestApplication();
        test::WritePicture(skinDir / "Config" / "Config.png", {263, 598}, QColor::fromRgba(kBackground));
        test::WritePicture(skinDir / "Config" / "New-Config.png", {263, 23}, QColor::fromRgba(kNewRow));
        test::WritePicture(skinDir / "button-close-normal.png", {15, 15}, QColor::fromRgba(kCloseNormal));
        test::WritePicture(skinDir / "button-close-over.png", {15, 15}, QColor::fromRgba(kCloseOver));
    }
    ~ConfigDialogViewTest() override { delete m_dialog.data(); }

    CConfigDialog& Open()
    {
        m_dialog = CConfigDialog::Open({files,
                                        current,
                                        codec,
                                        messages,
                                        fileDialog,
                                        language,
                                        {230, 230, 230, 255},
                                        [this](ProfileManagerNotice notice) { notices.push_back(notice); }},
                                       cache);
        return *m_dialog;
    }

    static QPoint LineCentre(QListWidget& list, int row) { return list.visualItemRect(list.item(row)).center(); }
    static void Click(QListWidget& list, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint at = LineCentre(list, row);
        test::SendMouse(*list.viewport(), QEvent::MouseButtonPress, at, button, button);
        test::SendMouse(*list.viewport(), QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }
    static void DoubleClick(QListWidget& list, int row)
    {
        Click(list, row);
        test::SendMouse(*list.viewport(), QEvent::MouseButtonDblClick, LineCentre(list, row), Qt::LeftButton,
                        Qt::LeftButton);
        test::SendMouse(*list.viewport(), QEvent::MouseButtonRelease, LineCentre(list, row), Qt::LeftButton,
                        Qt::NoButton);
    }
    void ClickSurface(QPoint at)
    {
        test::SendMouse(*m_dialog, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        test::SendMouse(*m_dialog, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    static void Key(QWidget& widget, int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
    static QStringList Lines(QListWidget& list)
    {
        QStringList lines;
        for (int i = 0; i < list.count(); ++i) {
            lines << list.item(i)->text();
        }
        return lines;
    }
    QRgb PixelAt(QPoint p) { return m_dialog->grab().toImage().pixel(p); }
    // Picks the menu entry `entry` of the menu that the right button's release over `row` opens;
    // the entries' texts go to `texts`.
    void UseMenu(int row, int entry, QStringList* texts = nullptr)
    {
        QTimer::singleShot(0, [entry, texts] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            if (texts) {
                for (QAction* action : menu->actions()) {
                    *texts << action->text();
                }
            }
            menu->actions().at(entry)->trigger();
            menu->close();
        });
        Click(*m_dialog->List(), row, Qt::RightButton);
    }
    static void RunPosted() { QCoreApplication::processEvents(); }

    std::filesystem::path skinDir = dir / "Skins" / "Default";
    SkinImageCache cache{skinDir};
    Language language = Language::English;
    ProfileRecord current = Patterned(1);
    test::ScriptedFileDialog fileDialog;
    std::vector<ProfileManagerNotice> notices;

private:
    QPointer<CConfigDialog> m_dialog;
};

TEST_F(ConfigDialogViewTest, OpensTranslucentWithTheStoredNamesAndTheSelectedOne)
{
    InstallThree();
    auto& dialog = Open();
    EXPECT_EQ(dialog.size(), QSize(263, 598));
    EXPECT_NEAR(dialog.windowOpacity(), 178.0 / 255.0, 0.01);
    EXPECT_EQ(dialog.List()->geometry(), QRect(0, 31, 263, 544));
    EXPECT_EQ(Lines(*dialog.List()), QStringList({"A", "B", "C"}));
    EXPECT_EQ(dialog.List()->currentRow(), 1);
    EXPECT_EQ(PixelAt({5, 5}), kBackground);
    EXPECT_EQ(PixelAt({247, 15}), kCloseNormal);
    EXPECT_EQ(PixelAt({5, 590}), kNewRow);
}

TEST_F(ConfigDialogViewTest, HoveringTheCloseButtonShowsItsOverPicture)
{
    auto& dialog = Open();
    test::SendMouse(dialog, QEvent::MouseMove, {245, 12}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(PixelAt({247, 15}), kCloseOver);
    test::SendMouse(dialog, QEvent::MouseMove, {100, 12}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(PixelAt({247, 15}), kCloseNormal);
}

TEST_F(ConfigDialogViewTest, PressOnTheNewRowAddsAndSelectsAName)
{
    auto& dialog = Open();
    ClickSurface({130, 586});
    EXPECT_EQ(Lines(*dialog.List()), QStringList({"PROFILE_0", "PROFILE_1"}));
    EXPECT_EQ(dialog.List()->currentRow(), 1);
}

TEST_F(ConfigDialogViewTest, DoubleClickOnANameRenamesItInPlace)
{
    InstallThree();
    auto& dialog = Open();
    DoubleClick(*dialog.List(), 2);
    CLBEditorWnd* editor = dialog.Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "C");
    editor->setText("Racing");
    Key(*editor, Qt::Key_Return);
    EXPECT_EQ(Lines(*dialog.List()), QStringList({"A", "B", "Racing"}));
    EXPECT_EQ(dialog.List()->currentRow(), 2);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ConfigDialogViewTest, EnterNeverClosesTheManager)
{
    auto& dialog = Open();
    Key(*dialog.List(), Qt::Key_Return);
    Key(dialog, Qt::Key_Enter);
    Key(dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(notices.empty());
}

TEST_F(ConfigDialogViewTest, RightButtonMenuCopiesTheSelectedNameWithoutSelectingAnother)
{
    InstallThree();
    auto& dialog = Open();
    Click(*dialog.List(), 0);
    QStringList texts;
    UseMenu(2, 2, &texts);
    EXPECT_EQ(texts, QStringList({"Delete", "Edit", "Copy", "Load", "Save"}));
    EXPECT_EQ(Lines(*dialog.List()), QStringList({"A", "B", "C", "Copy A"}));
    EXPECT_EQ(dialog.List()->currentRow(), 0);
}

TEST_F(ConfigDialogViewTest, TraditionalChineseMenu)
{
    language = Language::TraditionalChinese;
    auto& dialog = Open();
    QStringList texts;
    UseMenu(0, 2, &texts);
    EXPECT_EQ(texts, QStringList({"刪除", "Edit", "複製", "Load", "保存"}));
    EXPECT_EQ(Lines(*dialog.List()), QStringList({"PROFILE_0", "複製 PROFILE_0"}));
}

TEST_F(ConfigDialogViewTest, LoadRunsTheImportOnceTheMenuHasGone)
{
    InstallThree();
    test::WriteFileBytes(dir / "mine.bin", ConfigFile::Encode(1, Patterned(40)));
    fileDialog.answer = dir / "mine.bin";
    auto& dialog = Open();
    Click(*dialog.List(), 2);
    UseMenu(2, 3);
    EXPECT_TRUE(fileDialog.asked.empty());
    RunPosted();
    EXPECT_EQ(fileDialog.asked, (std::vector<std::string>{"open " + (dir / "config2.bin").string()}));
    EXPECT_EQ(current, Patterned(40));
    EXPECT_EQ(files.currentProfileIndex, 2);
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Import}));
}

TEST_F(ConfigDialogViewTest, CloseButtonStoresTheListTellsTheMainWindowAndGoesAway)
{
    InstallThree();
    QPointer<CConfigDialog> dialog = &Open();
    Click(*dialog->List(), 0);
    UseMenu(0, 0); // delete A
    ClickSurface({247, 15});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Closed}));
    EXPECT_EQ(ListValue("Item0"), "B");
    EXPECT_EQ(SettingsOf(0), Patterned(11));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
}

TEST_F(ConfigDialogViewTest, TheWindowSystemClosingItStoresTheListToo)
{
    auto& dialog = Open();
    ClickSurface({130, 586});
    dialog.close();
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Closed}));
    EXPECT_EQ(ListValue("ItemCount"), "2");
}

TEST_F(ConfigDialogViewTest, MissingBackgroundIsReportedAndTheCloseButtonStillWorks)
{
    std::filesystem::remove(skinDir / "Config" / "Config.png");
    auto& dialog = Open();
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message, "error", "Config Dialog Load background image failed!!!"}}));
    EXPECT_EQ(dialog.size(), QSize(263, 598));
    ClickSurface({247, 15});
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Closed}));
}

TEST(QtProfileFileDialog, FilterInQtsForm)
{
    EXPECT_EQ(QtProfileFileDialog::QtFilter("Gaming Mouse Profile(*.bin)|*.bin||"),
              QStringLiteral("Gaming Mouse Profile(*.bin)"));
    EXPECT_EQ(QtProfileFileDialog::QtFilter("A (*.a)|*.a|B (*.b)|*.b||"), QStringLiteral("A (*.a);;B (*.b)"));
}

} // namespace
} // namespace veldrane
