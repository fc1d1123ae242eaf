#pragma once

// The first steps of start-up, before any window: one copy per program folder, the archive
// named by the configuration file (or the default one), opened as DbArchivio. Each failure is
// told to the person; false means the program must end.
//
// A new empty archive is created only on the first start of a fresh installation: no
// configuration file and no default archive. A configured archive that is missing is an
// error, never silently replaced by an empty one.
bool apriArchivioAllAvvio();
