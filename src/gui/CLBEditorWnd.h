#pragma once

#include <QLineEdit>

#include <functional>

#include "screens/macro/ListLineEditorModel.h"

class QListWidget;

namespace veldrane {

// The in-place editor of one line of a list: an edit field laid over the line, one pixel larger
// on every side, holding the pointer and the focus until the edit ends. Enter, Tab, a press
// outside it and the loss of the focus commit; Escape cancels. It ends once and then deletes
// itself. The list's owner applies a commit (ListLineEditorModel gives the rules of each mode):
// the macro manager for macro names and delays, the profile manager for profile names.
class CLBEditorWnd : public QLineEdit
{
public:
    using CommitHandler = std::function<void(const LineEditorCommit&)>;
    using RefusalHandler = std::function<void()>;

    // `onRefusal` hears of an edit that ended on a text the mode does not take.
    CLBEditorWnd(QListWidget& list, LineEditorMode mode, CommitHandler onCommit, RefusalHandler onRefusal = {});
    ~CLBEditorWnd() override;

    // Opens the editor over `line` with the line's text. False when there is no such line; the
    // editor has then already scheduled its own deletion.
    bool BeginEdit(int line);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Handle(LineEditorInput input);
    void End();

    QListWidget& m_list;
    ListLineEditorModel m_model;
    CommitHandler m_onCommit;
    RefusalHandler m_onRefusal;
    bool m_grabbing = false;
};

} // namespace veldrane
