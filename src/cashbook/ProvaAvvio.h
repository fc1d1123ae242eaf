#pragma once

// The short start-up check of an installation ("vardello --prova-avvio"): the whole start-up
// runs as usual, the log-in window is confirmed with what it proposes (on a new archive the
// administrator "Supervisore" with an empty password), and the program ends after the first
// month is shown. Any message shown on the way is written to standard error and ends the
// check with a failure. Returns the exit code.
int provaAvvio();
