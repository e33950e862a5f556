#pragma once

// The main window's picture area as the pointer moves: the welcome picture
// from start-up until the first command button is hovered, then that
// button's picture until the pointer crosses the bare window, which blanks
// the area until the next button.
enum class HoverChange {
    None,       // the area stays as it is
    ShowButton, // show the hovered button's picture and explanation
    Blank,      // white picture area, empty label
};

// A pointer move over a command button of the picture table
// (`overButton`) or over the bare window. Updates the two flags the main
// window keeps and says what the area must do.
HoverChange hoverMove(bool overButton, bool& hoverShown, bool& welcomeShown);
