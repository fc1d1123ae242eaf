#pragma once

#include <memory>

class frmVardello;

// The whole start-up: the archive opened and checked, the log-in, and only then the main
// window built and prepared (title, month shown, parameters). The log-in appears as soon as
// the archive is open, without waiting for the main window's controls. Null when the program
// must end (second copy, archive that cannot be opened, log-in refused or cancelled); the
// person has been told why.
std::unique_ptr<frmVardello> avviaProgramma();
