#include "platform/shell/shell_services.h"

namespace platform {

bool IsWebAddress(const std::u16string& url) {
    auto startsWithNoCase = [&](const char* prefix) {
        size_t i = 0;
        for (; prefix[i]; ++i) {
            if (i >= url.size()) return false;
            char16_t c = url[i];
            if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
            if (c != char16_t(prefix[i])) return false;
        }
        return url.size() > i;  // something after the scheme
    };
    return startsWithNoCase("http://") || startsWithNoCase("https://") || startsWithNoCase("mailto:");
}

void PostTrayEventsTo(TrayIconParams& params, IWindowHost& host, HWND window, UINT callbackMessage,
                      WPARAM iconId) {
    IWindowHost* h = &host;
    params.onActivate = [h, window, callbackMessage, iconId] {
        h->PostMessage(window, callbackMessage, iconId, LPARAM(WM_LBUTTONDBLCLK));
    };
    params.onMenuItem = [h, window](int id) { h->PostMessage(window, WM_COMMAND, WPARAM(id), 0); };
}

}  // namespace platform
