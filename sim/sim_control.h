/* Control API of the simulated Quorvex SDK (libQuorvex.so), for tests.
 *
 * A test reaches the instance that the module loaded by opening the same file
 * again: dlopen(path, RTLD_NOW | RTLD_NOLOAD) and dlsym the functions below
 * (or link libQuorvex.so directly when no module is involved). Every function
 * is thread-safe. A `camera` argument is a camera id; NULL or "" means the
 * camera opened last that is still open (else the one opened last).
 * Results: 0 success, -1 failure (no such camera, bad argument) unless said
 * otherwise. See sim/README.md for the configuration knobs and log format. */
#ifndef QUORVEX_SIM_CONTROL_H
#define QUORVEX_SIM_CONTROL_H

#ifdef __cplusplus
extern "C" {
#endif

/* ---- configuration ---- */
/* Replaces the configuration with JSON text (same schema as
 * QUORVEX_SIM_CONFIG). Open cameras keep running. 0, or -1 on bad JSON. */
int QvSimConfigure(const char* json);
/* Back to the environment's configuration; clears the call log, every fault
 * switch and the counters. Open cameras keep running. */
void QvSimReset(void);

/* ---- call log ---- */
/* Copies the log ("Op(args)" lines, each ending in '\n') of one camera, or of
 * everything when camera is NULL (entry points are logged with no camera),
 * into buffer (NUL-terminated, truncated to size). Returns the full length. */
int QvSimCallLog(const char* camera, char* buffer, int size);
/* Number of log lines that begin with prefix (e.g. "PutOption(11,"). */
int QvSimCallCount(const char* camera, const char* prefix);
void QvSimClearCallLog(void);

/* ---- fault switches ---- */
/* Makes an operation answer `status` without doing anything. key is "Op" or
 * "Op:selector": the selector is the option number (PutOption, GetOption), the
 * request code (IoControl), or the name (Get/SetNamedValue, GetNamedValueText,
 * ListNamedValues, QueryCapability, Get/SetParameter). "PullFrame" with
 * 0x8000000a makes every pull pending. QueryCapability answers the status as
 * its value; GetModelRecord answers NULL; DllOpen (camera "") answers NULL;
 * DllGetDefAE answers the status. times: how many calls (then the switch goes
 * off); negative: until cleared; 0 clears this switch. camera NULL/"": every
 * camera. */
int QvSimSetFault(const char* camera, const char* key, int status, int times);
void QvSimClearFaults(void);

/* ---- state inspection and set-up ---- */
int QvSimGetOption(const char* camera, unsigned option, int* value);   /* as GetOption, unlogged */
int QvSimSetOption(const char* camera, unsigned option, int value);    /* stores without checks */
int QvSimGetNamedValue(const char* camera, const char* name, int* value);
int QvSimSetNamedValue(const char* camera, const char* name, int value);
int QvSimGetIo(const char* camera, unsigned line, unsigned request, int* value);
int QvSimSetIo(const char* camera, unsigned line, unsigned request, int value);
/* Settings that are not options, by name, unlogged: "exposureUs", "gain",
 * "autoExposure", "aeTarget", "aeMaxTime", "aeMaxGain", "wbRed", "wbGreen",
 * "wbBlue", "hue", "saturation", "brightness", "contrast", "gamma", "vflip",
 * "hflip", "negative", "speed", "powerFrequency", "binningMode", "fan",
 * "tecTarget", "temperature" (tenths), "deviceMode", "resolutionIndex",
 * "roiX", "roiY", "roiWidth", "roiHeight" (0: no region). -1 for an unknown
 * name or camera. */
int QvSimGetState(const char* camera, const char* name, int* value);
/* The camera object itself (an SdkCamera*, as DllOpen returned it), or NULL;
 * calls made through it are logged like the module's. */
void* QvSimCamera(const char* camera);
/* Option 11 of the camera (0 free-running, 1 software, 2 external), -1 if none. */
int QvSimTriggerMode(const char* camera);
/* 1 while the stream runs, 0 when stopped, -1 if no such camera. */
int QvSimIsStreaming(const char* camera);
/* Frames produced since open; frames ready for PullFrame now. */
int QvSimFramesProduced(const char* camera);
int QvSimReadyFrames(const char* camera);
/* Sensor temperature in tenths of a degree, set at once (thermal tests). */
int QvSimSetTemperature(const char* camera, int tenths);
/* Copies the text the camera was opened with (or, camera NULL and none open
 * yet, the last text DllOpen got) into buffer. Returns the full length. */
int QvSimOpenText(const char* camera, char* buffer, int size);
/* DllOpen successes, Close calls, failed DllOpen calls, calls on closed cameras,
 * DllEnumCamera calls. */
int QvSimOpenCount(void);
int QvSimCloseCount(void);
int QvSimFailedOpenCount(void);
int QvSimCallsAfterClose(void);
int QvSimEnumCount(void);
/* 1 after DllGigeEnable succeeded (GigE cameras enumerate), else 0. */
int QvSimGigeEnabled(void);
/* Text given to DllAppName. Returns the full length. */
int QvSimAppName(char* buffer, int size);

/* ---- events and triggers ---- */
/* Delivers SDK event `event` through the stream's callback, on the SDK's own
 * stream thread; returns once the callback has returned. Event 4 fired this
 * way makes no frame ready. -1 when no stream runs. */
int QvSimFireEvent(const char* camera, unsigned event);
/* Hardware trigger pulses (external trigger mode, option 11 = 2, with a
 * hardware source 0..4 on line 0): each makes one frame. Returns the number
 * accepted (0 in any other mode), -1 if no such camera. */
int QvSimExternalPulse(const char* camera, unsigned count);

#ifdef __cplusplus
}
#endif

#endif /* QUORVEX_SIM_CONTROL_H */
