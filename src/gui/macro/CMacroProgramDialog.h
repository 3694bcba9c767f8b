#pragma once

#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QPointer>

#include <optional>

#include "gui/CLBEditorWnd.h"
#include "gui/PaintedDialogAccessible.h"
#include "gui/skin/FontBook.h"
#include "screens/macro/MacroManagerModel.h"

class QLineEdit;
class QListWidget;
class QKeyEvent;

namespace veldrane {

class KeyNameSource;
class SkinImageCache;

// The macro manager: a frameless modal dialog as large as its background, painted from its
// MacroManagerModel, with the macro list, the event list and the loop-count field laid over it
// as the model holds them. Every press, move, wheel turn, key and list event goes to the model;
// after each the view shows the model's state again.
//
// Keys: the recorder and the dialog's filter see every keystroke of the dialog and its lists;
// auto-repeat reaches the model as a press of a key already down (the releases that X11 sends
// between repeats are not keystrokes and are dropped). Outside a recording Tab walks the model's
// controls, and the toolkit's focus follows onto a list or the field, or stays on the dialog for
// a painted control, which the model rings.
class CMacroProgramDialog : public QDialog, public PaintedDialog
{
public:
    CMacroProgramDialog(MacroManagerContext context, SkinImageCache& images, const KeyNameSource& keyNames,
                        QWidget* parent = nullptr);
    ~CMacroProgramDialog() override;

    // Runs the manager modally, as the main window's "Macro Manager" row does. On OK the twelve
    // buffers rebuilt from the macro file, for macroData of the current profile; nothing on
    // Cancel or the close area.
    static std::optional<MacroData> Run(MacroManagerContext context, SkinImageCache& images,
                                        const KeyNameSource& keyNames, QWidget* parent = nullptr);

    MacroManagerModel& Model() { return m_model; }
    QListWidget* MacroList() const { return m_macroList; }
    QListWidget* EventList() const { return m_eventList; }
    QLineEdit* LoopField() const { return m_loopField; }
    // The in-place editor while one is open.
    CLBEditorWnd* Editor() const { return m_editor; }

    void reject() override;

    // PaintedDialog
    std::vector<FocusControl> DialogControls() const override { return m_model.Controls(); }
    std::optional<std::size_t> DialogFocus() const override { return m_model.FocusIndex(); }
    QWidget* ControlWidget(std::size_t key) const override;
    void PressControl(std::size_t key) override;
    void FocusControlByKey(std::size_t key) override;

    // The font in which the recording hint fits its area.
    QFont HintFont(const QString& hint) const;
    static constexpr int kHintFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The text the event list shows for a stored event line.
    static QString ShownEventLine(const QString& line);
    // The font of the two lists.
    QFont ListFont() const;
    void CreateControls();
    // Shows the model's lists, selections, field and window text.
    void Sync();
    void MarkLeftOutLines();
    bool HandleKey(QKeyEvent* event);
    void ScrollEvents(int wheelDelta);
    void ShowEventMenu(QPoint globalPos);
    void OpenEditor(const std::optional<LineEditRequest>& request);
    // Puts the toolkit's focus where the model has it.
    void ApplyFocus();
    void Finish(MacroManagerClose close);

    MacroManagerModel m_model;
    SkinImageCache& m_images;
    const KeyNameSource& m_keyNames;
    FontBook m_fonts;
    QListWidget* m_macroList = nullptr;
    QListWidget* m_eventList = nullptr;
    QLineEdit* m_loopField = nullptr;
    QPointer<CLBEditorWnd> m_editor;
    bool m_syncing = false;
    bool m_finished = false;
    // While a recording runs the event list holds the keyboard, so that keys the desktop would
    // take for itself (Super, Print, Alt+Tab, media keys) are recorded.
    bool m_keyboardGrabbed = false;
    void GrabKeyboardWhileRecording(bool recording);
    // A move done by hand where the window manager does not move the dialog itself.
    bool m_manualMove = false;
    QPoint m_moveStartGlobal;
    QPoint m_moveStartPos;
};

} // namespace veldrane
