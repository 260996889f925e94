/*
 * Echotap: stereo delay audio plug-in. Public interface for hosts.
 *
 * A host loads Echotap.dll (libechotap.so on Linux), calls PlugInInfo, creates a settings block
 * with Initialize, InitializeXml or CopySettings, registers its input callback with
 * SetStreamCallBack, opens a stream, pulls processed audio with ProcessStream, closes the stream
 * and frees the block. The plug-in allocates and frees every settings block; the host only keeps
 * the pointer.
 *
 * Every export uses the C calling convention (the caller removes the arguments) and an undecorated
 * name. On Windows the exports also have ordinals 1 to 13 in alphabetical order of their names.
 * Results are 32-bit integers; 1 means success. Strings are 8-bit ANSI, NUL-terminated.
 * No call is thread-safe with respect to the same block: the host serialises calls on one block.
 */
#ifndef ECHOTAP_H
#define ECHOTAP_H

#include <stdint.h>

#include "echotap_presets.h" /* the preset tree records: PresetNodeBase, PresetNode, ... */

#ifdef _WIN32
#include <windows.h>
#define ECHOTAP_CDECL __cdecl
#else
typedef struct HKEY__* HKEY;
#define ECHOTAP_CDECL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Information record filled by PlugInInfo; the host sets `size` to 24 (the 32-bit record size). */
typedef struct EffectInfo {
  uint32_t size;     /* set by the host: sizeof(EffectInfo), 24 on 32-bit Windows */
  uint32_t zero;     /* set to 0 */
  const char* name;  /* "Delay", static in the library */
  const char* maker; /* "Quenby Ltd (CY)", static in the library */
  uint32_t version;  /* 0x00020000 */
  uint32_t reserved; /* never written */
} EffectInfo;

/* Stream format passed to OpenStream. Only `channels` and `sampleRate` are read: a channel count of
 * 2 opens a two-channel stream, every other value a one-channel stream. */
typedef struct StreamFormat {
  uint16_t tag; /* not read */
  uint16_t channels;
  uint32_t sampleRate; /* frames per second */
} StreamFormat;

/* A block of audio: `frames` 64-bit samples per channel, one array per channel, never interleaved.
 * `right` is null for one channel. */
typedef struct StreamBuffer {
  uint32_t frames;
  double* left;
  double* right;
} StreamBuffer;

/* Opaque value handed back to the host's callback. 32 bits on 32-bit Windows; pointer-sized
 * elsewhere so that a host can pass a pointer. */
typedef uintptr_t EffectUserData;

/* The host's input callback: writes up to buffer->frames input frames to the start of buffer->left
 * (and buffer->right when it is not null) and returns how many it wrote; 0 means no input. It must
 * not keep the record after returning. More frames than asked for are never mixed. */
typedef uint32_t(ECHOTAP_CDECL* StreamCallback)(EffectUserData userData, StreamBuffer* buffer);

/* A settings block: one effect instance. Created and freed by the plug-in only. */
typedef struct EffectSettings EffectSettings;

/* Ordinal 1. Releases the delay lines and the stream buffers of an open stream. Always 1. */
int ECHOTAP_CDECL CloseStream(EffectSettings* block);
/* Ordinal 2. New block with source's nine parameters, no stream and no callback. 1, or 0 (and a
 * null *out) when no memory is left. */
int ECHOTAP_CDECL CopySettings(EffectSettings** out, const EffectSettings* source);
/* Ordinal 3. The effect has no settings window: always 0. */
int ECHOTAP_CDECL CreateSettingsWindow(void);
/* Ordinal 4. Frees a block (null is ignored); an open stream is closed first. */
void ECHOTAP_CDECL Free(EffectSettings* block);
/* Ordinal 5. New block from the creation defaults, overwritten by what the chosen store holds:
 * the registry key `section` under `root` when root is not null, else section `section` of the INI
 * file `iniPath` when iniPath is not null, else nothing. Always 1; *out is null when no memory is
 * left. */
int ECHOTAP_CDECL Initialize(const char* iniPath, const char* section, HKEY root,
                             EffectSettings** out);
/* Ordinal 6. As Initialize, reading from the children of a preset tree node (null: defaults); the
 * records are in echotap_presets.h. */
int ECHOTAP_CDECL InitializeXml(PresetNodeBase* node, EffectSettings** out);
/* Ordinal 7. Overwrites the block's nine parameters with the preset defaults and what the store
 * holds. Delay times apply at the next OpenStream. Always 1. */
int ECHOTAP_CDECL LoadPreset(const char* iniPath, const char* section, HKEY root,
                             EffectSettings* block);
/* Ordinal 8. Closes any open stream, then sizes the delay lines from the delay times and the sample
 * rate and allocates the stream buffers. 1; 0 for a null block or format. */
int ECHOTAP_CDECL OpenStream(EffectSettings* block, const StreamFormat* format);
/* Ordinal 9. Fills the record when its size is 24 and returns 1; otherwise 0, record untouched. */
int ECHOTAP_CDECL PlugInInfo(EffectInfo* record);
/* Ordinal 10. Pulls buffer->frames frames through the callback (at most 4096 per callback call) and
 * replaces them in place with the effect's output. Returns the frames produced; stops early when
 * the callback delivers fewer than asked. 0 without an open stream or a callback. */
uint32_t ECHOTAP_CDECL ProcessStream(StreamBuffer* buffer, EffectSettings* block);
/* Ordinal 11. Saves the nine parameters to the chosen store: nine values of type REG_NONE (4 bytes,
 * little-endian) in the registry key `section` under `root`, or nine entries of section `section`
 * in the INI file `iniPath`. 0 when the registry key cannot be created or opened for writing, or
 * when the registry or the INI file refuses a value (a file in a missing folder, a read-only file);
 * else 1, also when no store is chosen. */
int ECHOTAP_CDECL SavePreset(const char* iniPath, const char* section, HKEY root,
                             const EffectSettings* block);
/* Ordinal 12. Saves the nine parameters as children of a preset tree node: each child's "Value" is
 * replaced, and missing children are appended in table order. 1; 0 only when memory for the tree
 * runs out, which leaves a sound tree with the values saved so far. */
int ECHOTAP_CDECL SavePresetXml(PresetNodeBase* node, const EffectSettings* block);
/* Ordinal 13. Registers the input callback and the value handed back to it. 1. */
int ECHOTAP_CDECL SetStreamCallBack(StreamCallback callback, EffectUserData userData,
                                    EffectSettings* block);

#ifdef __cplusplus
}
#endif

#endif /* ECHOTAP_H */
