// KWin script of the VELDRANE configurator: tells the configurator which window has the focus, so
// that it can switch the mouse's profile by application. The configurator loads it through
// org.kde.KWin /Scripting loadScript when it starts and unloads it when it ends.

function report(window) {
    var appId = "";
    var windowClass = "";
    var title = "";
    var pid = 0;
    if (window) {
        appId = String(window.desktopFileName || "");
        windowClass = String(window.resourceClass || "");
        title = String(window.caption || "");
        pid = window.pid > 0 ? window.pid : 0;
    }
    callDBus("io.github.veldrane.Veldrane", "/io/github/veldrane/Veldrane", "io.github.veldrane.Veldrane1",
             "FocusChanged", appId, windowClass, title, pid);
}

// Plasma 6 names it windowActivated, Plasma 5 clientActivated.
if (workspace.windowActivated) {
    workspace.windowActivated.connect(report);
    report(workspace.activeWindow);
} else {
    workspace.clientActivated.connect(report);
    report(workspace.activeClient);
}
