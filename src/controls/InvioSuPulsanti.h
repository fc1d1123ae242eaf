#pragma once

// Enter (Return, or Enter on the keypad) on a focused push button clicks it, as Space does,
// in every window of the program: the main window's buttons included, which belong to no
// dialog, and buttons that are not their dialog's default. Enter in a field still goes to the
// window's default button, where it has one. Installed once for the whole application (the
// program at start, the tests with their environment); a second call changes nothing.
void installaInvioSuPulsanti();
