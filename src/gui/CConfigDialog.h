#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <string>

#include "gui/PaintedDialogAccessible.h"
#include "gui/skin/FontBook.h"
#include "screens/profiles/ConfigDialogModel.h"

class QListWidget;

namespace veldrane {

class CLBEditorWnd;
class SkinImageCache;

// The profile manager: a frameless, translucent tool window as large as its background, painted
// from its ConfigDialogModel, with the list of names laid over the list area. Presses, hovering,
// the list's selection changes and double clicks, the right-button menu and the in-place editor
// go to the model; after each the view shows the model's list again. The keys go to the model
// too (ConfigDialogModel::KeyPressed), and the toolkit's focus follows the model's onto the list
// or the window itself. It deletes itself when it closes.
class CConfigDialog : public QWidget, public PaintedDialog
{
public:
    CConfigDialog(ConfigDialogContext context, SkinImageCache& images, QWidget* parent = nullptr);
    ~CConfigDialog() override;

    // Creates and shows a manager, as the main window's "Config" button does.
    static CConfigDialog* Open(ConfigDialogContext context, SkinImageCache& images, QWidget* parent = nullptr);

    ConfigDialogModel& Model() { return m_model; }
    QListWidget* List() const { return m_list; }
    // The in-place editor while one is open.
    CLBEditorWnd* Editor() const;

    // PaintedDialog
    std::vector<FocusControl> DialogControls() const override { return m_model.Controls(); }
    std::optional<std::size_t> DialogFocus() const override { return m_model.FocusIndex(); }
    QWidget* ControlWidget(std::size_t key) const override;
    void PressControl(std::size_t key) override;
    void FocusControlByKey(std::size_t key) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateList();
    // Shows the model's names and selection.
    void Sync();
    void Apply(const ConfigDialogOutcome& outcome, QPoint globalPress = {});
    void ShowListMenu(QPoint globalPos);
    void OpenEditor(std::size_t line);
    // A key for the model; false when it is none of the window's keys.
    bool HandleKey(QKeyEvent& event);
    // Puts the toolkit's focus where the model has it.
    void ApplyFocus();
    void Finish();

    // Before the model, which takes the context over.
    std::function<void(const std::string& profile)> m_applications;
    Language m_language;
    ConfigDialogModel m_model;
    SkinImageCache& m_images;
    FontBook m_fonts;
    QListWidget* m_list = nullptr;
    QPointer<CLBEditorWnd> m_editor;
    bool m_syncing = false;
    bool m_finished = false;

    // A window move done by hand where the window manager does not move the window itself.
    bool m_manualMove = false;
    QPoint m_moveStartGlobal;
    QPoint m_moveStartPos;
};

} // namespace veldrane
