// The program's windows and controls in the headless port: client sizes set by the host, status
// texts and the view's scroll bar kept for tests and scripts to read. User-interface thread.
#include <map>
#include <string>

#include "port/headless/headless.h"
#include "port/headless/headless_reset.h"
#include "port/port.h"

namespace {

struct Size {
    int width;
    int height;
};
std::map<void*, Size> clientSizes;
std::string statusTexts[3];
headless::ScrollBarState scrollBar{0, 0, 0};

} // namespace

namespace headless {

void SetClientSize(void* window, int width, int height) {
    clientSizes[window] = {width, height};
}

std::string StatusText(int part) {
    return part >= 0 && part < 3 ? statusTexts[part] : "";
}

ScrollBarState ViewScrollBar() {
    return scrollBar;
}

void ResetWindows() {
    clientSizes.clear();
    for (std::string& text : statusTexts)
        text.clear();
    scrollBar = {0, 0, 0};
}

} // namespace headless

namespace port {

bool ClientSize(WindowHandle window, int* width, int* height) {
    auto found = clientSizes.find(window);
    if (found == clientSizes.end()) {
        *width = 0;
        *height = 0;
        return false;
    }
    *width = found->second.width;
    *height = found->second.height;
    return true;
}

void SetStatusText(int part, const char* text) {
    if (part >= 0 && part < 3)
        statusTexts[part] = text ? text : "";
}

void SetViewScrollBar(int maximum, int page, int position) {
    scrollBar = {maximum, page, position};
}

} // namespace port
