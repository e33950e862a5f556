#include "hover.h"

HoverChange hoverMove(bool overButton, bool& hoverShown, bool& welcomeShown) {
    if (overButton) {
        // The first button's display stays until the bare window is crossed,
        // so that a picture that cannot be read is reported once.
        if (hoverShown)
            return HoverChange::None;
        hoverShown = true;
        welcomeShown = false;
        return HoverChange::ShowButton;
    }
    if (welcomeShown)
        return HoverChange::None;
    hoverShown = false;
    return HoverChange::Blank;
}
