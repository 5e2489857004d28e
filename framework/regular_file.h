// Opening the files the programs know by a fixed name. Whoever can write the
// folder can put anything under such a name: a FIFO (an open would wait for a
// writer for ever), a device (endless bytes), a folder, a symlink to a file
// elsewhere. Only a regular file is taken, and an open never waits.
#pragma once

#include <string>

namespace kovrin::framework {

// A descriptor for reading a regular file (a symlink to one is followed), or
// -1 when there is none under the name.
int OpenRegularFileForReading(const std::string& name);

// A descriptor for writing the regular file of that name, created if absent
// and then emptied; -1 when the name is anything else. A symlink as the
// final name is not followed and a file with a second (hard) link is not
// taken, so nothing outside is written through either.
int OpenRegularFileForWriting(const std::string& name);

}  // namespace kovrin::framework
