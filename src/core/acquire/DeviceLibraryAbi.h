#pragma once

// The probe's device library: its exports, their C signatures and names. The
// program looks each one up by name at every call; the probe simulator
// (src/probe-sim) exports exactly these.
extern "C" {

// Called on the library's read thread once per frame with the address of
// 100,000 sample bytes, valid during the call; its result is ignored.
typedef int (*DeviceFrameCallback)(unsigned char *samples);

typedef unsigned char (*GetDevNameFunction)(void);
typedef unsigned char (*DownloadHexFunction)(const char *firmwarePath);
typedef unsigned char (*VendRequestFunction)(int code, unsigned char *reply64);
typedef unsigned char (*GetPipeInfoFunction)(void);
typedef void (*SetRealDataFuncFunction)(DeviceFrameCallback callback);
typedef void (*StartReadThreadFunction)(void);
typedef void (*CopyStatusBufFunction)(unsigned char *status64);
typedef void (*StopReadThreadFunction)(int stop);
// A simulator also exports this; a real device library does not.
typedef const char *(*ProbeSimulatorFunction)(void);
}

namespace dorvane::deviceabi {

constexpr const char *GetDevName = "GetDevName";
constexpr const char *DownloadHex = "bDLDHex";
constexpr const char *VendRequest = "On_Vend_Request";
constexpr const char *GetPipeInfo = "On_Get_PipeInfo";
constexpr const char *SetRealDataFunc = "SetRealDataFunc";
constexpr const char *StartReadThread = "On_EP6Bulk_TreadProc";
constexpr const char *CopyStatusBuf = "On_Copy_StatusBuf";
constexpr const char *StopReadThread = "On_SetTreadProc_Stop";
// An exported one-byte variable, not a function.
constexpr const char *StopFlag = "bStop";
constexpr const char *ProbeSimulator = "ProbeSimulator";

constexpr int StatusSize = 64;
constexpr int ReplySize = 64;

} // namespace dorvane::deviceabi
