#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <system_error>

#include "core/apps/AppRules.h"
#include "core/text/Language.h"
#include "ports/SkinCanvas.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace veldrane {

class MessageSink;
class SkinImageCache;

struct AppRulesDialogContext
{
    std::string profile; // the profile whose applications the dialog lists
    Language language;
    Colour textColour;
    MessageSink& messages;
    std::function<AppRules()> load;
    std::function<std::error_code(const AppRules&)> store;
    // Hands the next window that takes the focus (not one of the program's) to the callback.
    std::function<void(std::function<void(const FocusedWindow&)>)> captureNextWindow;
};

// "Applications...": the applications whose windows bring one profile, on the profile manager's
// background picture. "Add the next window I click" adds the application of the next window that
// takes the focus, "Remove" the selected one; "Use this profile when no rule matches" makes the
// profile the default. Every change is stored at once.
class CAppRulesDialog : public QDialog
{
public:
    CAppRulesDialog(AppRulesDialogContext context, SkinImageCache& images, QWidget* parent = nullptr);

    // The id a rule keeps for a window: its app id, else its class, instance or program name.
    static std::string AppIdOf(const FocusedWindow& window);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Sync();
    void Store(const AppRules& rules);

    AppRulesDialogContext m_context;
    SkinImageCache& m_images;
    QListWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QCheckBox* m_default = nullptr;
};

} // namespace veldrane
