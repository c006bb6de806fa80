#pragma once

#include <QString>
#include <QStringList>

// The program's sounds, played from its own folder to their end before the
// program goes on. A missing file or a machine without sound is passed over
// silently. VELMORA_SOUND=off (set for tests) keeps it silent.
namespace app::Sound {

// `name` is the program's literal, beginning with a backslash: "\Cmd.wav".
void Play(const QString& name);
// The folder the sounds are looked for in (the program's folder).
QString Folder();

// Tests: every Play is recorded here (by name) instead of being played.
void RecordForTesting(QStringList* played); // nullptr: stop recording
} // namespace app::Sound
