// A library that looks like the probe's device library but lacks most of
// its exports: with the stop flag it counts as loaded, and every missing
// export is a failed call; without it (WITHOUT_STOP_FLAG) it is no device
// library at all.
extern "C" {

#ifndef WITHOUT_STOP_FLAG
__attribute__((visibility("default"))) unsigned char bStop = 0;
#endif

__attribute__((visibility("default"))) unsigned char GetDevName(void)
{
    return 1;
}
}
