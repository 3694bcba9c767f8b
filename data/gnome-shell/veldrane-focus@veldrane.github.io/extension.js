// GNOME Shell extension of the VELDRANE configurator: tells the configurator which window has the
// focus, on the session bus, so that it can switch the mouse's profile by application.

import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import Shell from 'gi://Shell';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

const kService = 'io.github.veldrane.Veldrane';
const kPath = '/io/github/veldrane/Veldrane';
const kInterface = 'io.github.veldrane.Veldrane1';

export default class VeldraneFocusExtension extends Extension {
    enable() {
        this._focusHandler = global.display.connect('notify::focus-window', () => this._report());
        this._report();
    }

    disable() {
        if (this._focusHandler) {
            global.display.disconnect(this._focusHandler);
            this._focusHandler = null;
        }
    }

    _report() {
        const window = global.display.focus_window;
        let appId = '';
        let windowClass = '';
        let title = '';
        let pid = 0;
        if (window) {
            const app = Shell.WindowTracker.get_default().get_window_app(window);
            appId = (app && app.get_id()) || window.get_gtk_application_id() || window.get_sandboxed_app_id() || '';
            windowClass = window.get_wm_class() || '';
            title = window.get_title() || '';
            pid = Math.max(0, window.get_pid());
        }
        // Not started for this: without the configurator the call simply goes nowhere.
        Gio.DBus.session.call(kService, kPath, kInterface, 'FocusChanged',
            new GLib.Variant('(sssu)', [appId, windowClass, title, pid]), null,
            Gio.DBusCallFlags.NO_AUTO_START, 1000, null, null);
    }
}
