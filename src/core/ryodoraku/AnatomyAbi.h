#pragma once

/*
 * The call interface of the anatomy display library (anatomy.so beside the executable),
 * shared by the program's loader (AnatomyLibrary) and by the library (plugins/anatomy).
 * Plain C; the program resolves the exports by name.
 *
 * Call order: ShowMainForm -> SetCaption per word (when exported) -> SetColor per region ->
 * (SetStatisticsLine, SetStatisticsColor) per channel. The handle is the display window, a QObject in the program's own Qt: the
 * program closes the display by destroying it and moves it through its "pos" property.
 */

#if defined(_WIN32)
#define VANDREL_ANATOMY_EXPORT __declspec(dllexport)
#else
#define VANDREL_ANATOMY_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Opens the display window (body model 0 or 1) and returns its handle; null when the
 * library cannot open a window (no widget application running). */
typedef void *(*AnatomyShowMainFormFn)(int bodyModel);
/* Colours body region 1..19 with a Windows colour value (red | green << 8 | blue << 16). */
typedef void (*AnatomySetColorFn)(void *handle, int region, int color);
/* Appends one statistics line, UTF-8 text. */
typedef void (*AnatomySetStatisticsLineFn)(void *handle, const char *text);
/* Colours the statistics line appended last. */
typedef void (*AnatomySetStatisticsColorFn)(void *handle, int red, int green, int blue);
/* Optional: gives one of the window's words in the interface language (UTF-8). Keys:
 * "title", "head", "rightArm", "leftArm", "rightLeg", "leftLeg", "right", "left", "male",
 * "female". A library without this export, or a key never given, keeps its own word. */
typedef void (*AnatomySetCaptionFn)(void *handle, const char *key, const char *text);

VANDREL_ANATOMY_EXPORT void *ShowMainForm(int bodyModel);
VANDREL_ANATOMY_EXPORT void SetColor(void *handle, int region, int color);
VANDREL_ANATOMY_EXPORT void SetStatisticsLine(void *handle, const char *text);
VANDREL_ANATOMY_EXPORT void SetStatisticsColor(void *handle, int red, int green, int blue);
VANDREL_ANATOMY_EXPORT void SetCaption(void *handle, const char *key, const char *text);

#ifdef __cplusplus
}
#endif
