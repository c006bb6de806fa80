#include "app/Sound.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QSemaphore>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>

namespace {

namespace Sound = app::Sound;

TEST(SoundTest, RecordingTakesNamesInsteadOfPlaying)
{
    QStringList played;
    Sound::RecordForTesting(&played);
    Sound::Play(QStringLiteral("\\Cmd.wav"));
    Sound::Play(QStringLiteral("\\Recycle.wav"));
    Sound::RecordForTesting(nullptr);
    Sound::Play(QStringLiteral("\\Cmd.wav"));
    EXPECT_EQ(played, (QStringList{QStringLiteral("\\Cmd.wav"), QStringLiteral("\\Recycle.wav")}));
}

// The test program lies in build/bin beside the real ones, so it finds the
// sounds the way they do: from its own location, in build/share/velmora.
TEST(SoundTest, OwnSoundsAreFoundFromTheProgramsLocationAndAreShortPcm)
{
    const QString expected = QDir(QStringLiteral(VELMORA_BIN_DIR "/../share/velmora/sounds")).canonicalPath();
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(QDir(Sound::Folder()).canonicalPath(), expected);
    struct Case {
        const char* name;
        double minSeconds, maxSeconds;
    } cases[] = {{"\\Cmd.wav", 0.04, 0.15}, {"\\Recycle.wav", 0.2, 0.5}};
    for (const Case& c : cases) {
        const QString path = Sound::Locate(QString::fromLatin1(c.name));
        ASSERT_FALSE(path.isEmpty()) << c.name;
        const auto info = Sound::ReadWave(path);
        ASSERT_TRUE(info.has_value()) << c.name;
        EXPECT_EQ(info->channels, 1);
        EXPECT_EQ(info->bitsPerSample, 16);
        EXPECT_GE(info->seconds(), c.minSeconds) << c.name;
        EXPECT_LE(info->seconds(), c.maxSeconds) << c.name;
    }
}

// Names match files without regard to case; a missing or broken file, or no
// sound device, is passed over.
TEST(SoundTest, NamesIgnoreCaseAndMissingOrBrokenFilesArePassedOver)
{
    QTemporaryDir dir;
    QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/resources/sounds/Cmd.wav"),
                dir.filePath(QStringLiteral("cmd.WAV")));
    ASSERT_TRUE(testsupport::WriteFile(dir.filePath(QStringLiteral("Recycle.wav")), "RIFF....WAVEjunk"));
    Sound::SetFolderForTesting(dir.path());
    const auto ownFolder = qScopeGuard([] { Sound::SetFolderForTesting({}); });
    EXPECT_EQ(Sound::Locate(QStringLiteral("\\Cmd.wav")), dir.filePath(QStringLiteral("cmd.WAV")));
    EXPECT_EQ(Sound::Locate(QStringLiteral("\\Yok.wav")), QString());
    EXPECT_EQ(Sound::Locate(QStringLiteral("\\")), QString());
    const QByteArray soundWas = qgetenv("VELMORA_SOUND"); // CTest switches it off
    qputenv("VELMORA_SOUND", "on");
    Sound::Play(QStringLiteral("\\Yok.wav"));     // missing
    Sound::Play(QStringLiteral("\\Recycle.wav")); // not a sound
    Sound::Play(QStringLiteral("\\Cmd.wav"));     // plays, or passes over without a device
    qputenv("VELMORA_SOUND", soundWas);
}

TEST(SoundTest, BrokenFilesAreRefused)
{
    QTemporaryDir dir;
    const QByteArray good = testsupport::ReadFile(QStringLiteral(VELMORA_SOURCE_DIR "/resources/sounds/Cmd.wav"));
    ASSERT_FALSE(good.isEmpty());
    QByteArray compressed = good;
    compressed[20] = 2; // format tag 2: ADPCM, which we do not play
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("not a sound at all, just words")},
        {"riff header only", good.left(12)},
        {"cut before the samples", good.left(30)},
        {"compressed", compressed},
    };
    for (const auto& [what, bytes] : cases) {
        const QString path = dir.filePath(QString::fromLatin1(what));
        ASSERT_TRUE(testsupport::WriteFile(path, bytes));
        EXPECT_FALSE(Sound::ReadWave(path).has_value()) << what;
    }
    // A file cut inside its samples still plays what it has.
    const QString cut = dir.filePath(QStringLiteral("cut"));
    ASSERT_TRUE(testsupport::WriteFile(cut, good.left(good.size() / 2)));
    const auto info = Sound::ReadWave(cut);
    ASSERT_TRUE(info.has_value());
    EXPECT_GT(info->frames, 0);
}


// A player that holds each sound until the test lets it end, as a long sound
// on a real card would; it notes what it played, in order.
class HeldPlayer {
public:
    HeldPlayer()
    {
        Sound::SetPlayerForTesting([this](const QString& name) {
            started_.release();
            open_.acquire(); // once opened, the gate stays open
            open_.release();
            std::lock_guard lock(mutex_);
            heard_ << name;
        });
    }
    ~HeldPlayer()
    {
        Release();
        Sound::WaitUntilPlayed();
        Sound::SetPlayerForTesting({});
    }
    void WaitUntilPlaying() { started_.acquire(); }
    void Release() { open_.release(); }
    QStringList Heard()
    {
        Sound::WaitUntilPlayed();
        std::lock_guard lock(mutex_);
        return heard_;
    }

private:
    QSemaphore started_, open_;
    std::mutex mutex_;
    QStringList heard_;
};

TEST(SoundQueueTest, ASoundPlaysWhileTheWindowGoesOnAndTheNextWaitsForItsEnd)
{
    HeldPlayer player;
    Sound::Play(QStringLiteral("\\Cmd.wav"));
    Sound::Play(QStringLiteral("\\Recycle.wav"));
    player.WaitUntilPlaying(); // the first sound has begun and is held

    // The event loop is free meanwhile: a posted event is handled.
    bool handled = false;
    QMetaObject::invokeMethod(qApp, [&handled] { handled = true; }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    EXPECT_TRUE(handled);

    player.Release();
    EXPECT_EQ(player.Heard(), (QStringList{QStringLiteral("\\Cmd.wav"), QStringLiteral("\\Recycle.wav")}));
}

TEST(SoundQueueTest, HoverSoundsLeaveNoTailBehind)
{
    struct Case {
        const char* what;
        int hovers;          // hovers while the first sound plays
        bool confirmation;   // a Play queued before them
        int expectedHeard;
    } cases[] = {
        {"a sweep over ten buttons", 10, false, 2}, // the one playing and one waiting
        {"one hover", 1, false, 1},
        {"hovers behind a confirmation", 5, true, 2}, // the confirmation is kept, the hovers dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HeldPlayer player;
        if (c.confirmation)
            Sound::Play(QStringLiteral("\\Recycle.wav"));
        else
            Sound::PlayHover(QStringLiteral("\\Cmd.wav"));
        player.WaitUntilPlaying();
        if (c.confirmation)
            Sound::Play(QStringLiteral("\\Recycle.wav"));
        for (int i = 1; i < c.hovers; ++i)
            Sound::PlayHover(QStringLiteral("\\Cmd.wav"));
        player.Release();
        EXPECT_EQ(player.Heard().size(), c.expectedHeard);
    }
}

} // namespace
