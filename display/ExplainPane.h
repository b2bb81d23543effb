// Asking the window why a pane shows a value that is not binary: Control-e
// over a pane, or a click with Control held, writes the explanation of the
// pane's bits to standard output (as -w does) and marks the components at
// the roots of the explanation until the next key.
#pragma once

// The button code a click of button 1 with Control held is passed as.
constexpr int explainButton = 17;

// Explains the pane at window pixel (x, y), if one is there.
void explainPaneAt(int x, int y);
// Control-e: explains the pane under the pointer.
void explainPaneUnderPointer();
// Takes the root marks away (a repaint) when some are shown.
void clearExplanationMarks();
