#pragma once

namespace dorvane {

// Makes every block of 1 MiB or more its own mapping, given back to the
// system when it is freed. By default the C library raises that limit each
// time such a block is freed, after which a long survey's pictures, models
// and maps come from the heap and stay with the process after their work is
// done. Called once at the start of a program.
void returnLargeBlocksWhenFreed();

} // namespace dorvane
