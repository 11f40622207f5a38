#pragma once
// Small meshes made in code for tests and the demo data.
#include "tools/formats/XFileWriter.h"

namespace formats {

// A bar 100 units long along z, skinned to two bones: "Lower" at the root
// holds the ring at z 0, "Upper" (at z 50) the ring at z 100, and the ring
// at z 50 is shared half and half. Sets: "Bend" turns "Upper" about x to
// 90 degrees at 0.5 s and back at 1 s; "Slide" moves "Lower" along x by
// 100 units over 1 s. Ticks per second: the default 4800.
XFileDesc BentBarFile();

}  // namespace formats
