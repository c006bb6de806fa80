#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The program's sounds, played from its sound folder. They play on a thread
// of their own, one after the other and each to its end, so the window never
// waits for a sound. A missing file or a machine without sound is passed over
// silently. VELMORA_SOUND=off (set for tests) keeps it silent.
namespace app::Sound {

// `name` is the program's literal, beginning with a backslash: "\Cmd.wav".
// Queued behind the sounds still to play; returns at once.
void Play(const QString& name);
// A sound that only answers the mouse (a hovered button): dropped when
// another sound is still waiting, so sweeping over a row of buttons never
// leaves a long tail of sounds behind.
void PlayHover(const QString& name);
// Blocks until every queued sound has been played (at the end of a run).
void WaitUntilPlayed();
// The folder the sounds are looked for in: "sounds" in the program's data
// folder (app::DataFolder).
QString Folder();

// The file a name stands for: the sound folder followed by the name, the
// backslash read as a separator and the file name matched without regard to
// case. Empty when there is no such file.
QString Locate(const QString& name);

// The format of a PCM WAV file; std::nullopt for anything else (not a RIFF
// WAVE file, compressed, truncated before its samples).
struct WaveInfo {
    int channels = 0;
    int rate = 0;
    int bitsPerSample = 0;
    qsizetype frames = 0;
    double seconds() const { return rate > 0 ? double(frames) / rate : 0.0; }
};
std::optional<WaveInfo> ReadWave(const QString& path, QByteArray* samples = nullptr);

// Tests: every Play is recorded here (by name) instead of being played.
void RecordForTesting(QStringList* played); // nullptr: stop recording
// Tests: the queue hands each sound's name to this player, on the sound
// thread, instead of playing it (also with VELMORA_SOUND=off); an empty
// function puts the real player back.
void SetPlayerForTesting(std::function<void(const QString& name)> player);
// Tests: look for sounds in this folder instead (empty: the sound folder).
void SetFolderForTesting(const QString& folder);
} // namespace app::Sound
