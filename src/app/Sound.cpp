#include "app/Sound.h"

#include "app/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#ifdef VELMORA_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace app::Sound {

namespace {

QStringList* g_recorded = nullptr;
QString g_folder;

bool SoundOff()
{
    return qgetenv("VELMORA_SOUND").trimmed().toLower() == "off";
}

// The file in `folder` whose name matches `fileName` without regard to case
// (the program names its sounds "\Cmd.wav"; the file may be "cmd.WAV").
QString FindFile(const QString& folder, const QString& fileName)
{
    const QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString& entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

// PCM samples of a RIFF/WAVE file, as the file has them.
struct Wave {
    int channels = 0;
    int rate = 0;
    int bitsPerSample = 0;
    QByteArray samples;
};

bool ParseWave(const QByteArray& file, Wave& out)
{
    const auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(file.constData() + at); };
    const auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(file.constData() + at); };
    if (file.size() < 12 || std::memcmp(file.constData(), "RIFF", 4) != 0
        || std::memcmp(file.constData() + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= file.size()) {
        const QByteArray id = file.mid(at, 4);
        const qsizetype size = u32(at + 4);
        const qsizetype body = at + 8;
        if (size > file.size() - body) {
            // A truncated last chunk: play what is there.
            if (id != "data")
                return false;
        }
        if (id == "fmt ") {
            if (size < 16)
                return false;
            const int tag = u16(body);
            out.channels = u16(body + 2);
            out.rate = static_cast<int>(u32(body + 4));
            out.bitsPerSample = u16(body + 14);
            // 1: integer PCM; 0xFFFE: extensible, whose sub-format we take to
            // be PCM as every sound of ours is.
            if (tag != 1 && tag != 0xFFFE)
                return false;
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return false;
            out.samples = file.mid(body, qMin(size, file.size() - body));
            return out.channels > 0 && out.channels <= 8 && out.rate >= 4000
                   && out.rate <= 192000
                   && (out.bitsPerSample == 8 || out.bitsPerSample == 16
                       || out.bitsPerSample == 24 || out.bitsPerSample == 32);
        }
        at = body + size + (size & 1); // chunks are padded to an even size
    }
    return false;
}

#ifdef VELMORA_HAVE_ALSA

// ALSA writes its own complaints to stderr (no card, no daemon); a machine
// without sound is normal for this program and not worth a line.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

snd_pcm_format_t AlsaFormat(int bits)
{
    switch (bits) {
    case 8: return SND_PCM_FORMAT_U8;
    case 16: return SND_PCM_FORMAT_S16_LE;
    case 24: return SND_PCM_FORMAT_S24_3LE;
    case 32: return SND_PCM_FORMAT_S32_LE;
    default: return SND_PCM_FORMAT_UNKNOWN;
    }
}

void PlayBlocking(const WaveInfo& w, const QByteArray& samples)
{
    static const bool quiet = [] {
        snd_lib_error_set_handler(&QuietAlsa);
        return true;
    }();
    (void)quiet;

    snd_pcm_t* pcm = nullptr;
    // Opened non-blocking so that a busy or absent device fails at once
    // instead of waiting; playing itself then blocks until the end.
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return;
    if (snd_pcm_nonblock(pcm, 0) < 0
        || snd_pcm_set_params(pcm, AlsaFormat(w.bitsPerSample), SND_PCM_ACCESS_RW_INTERLEAVED,
                              static_cast<unsigned>(w.channels), static_cast<unsigned>(w.rate),
                              1 /* resample */, 100000 /* 0.1 s latency */) < 0) {
        snd_pcm_close(pcm);
        return;
    }
    const int frameBytes = w.channels * w.bitsPerSample / 8;
    const char* data = samples.constData();
    snd_pcm_uframes_t left = static_cast<snd_pcm_uframes_t>(w.frames);
    int retries = 0;
    while (left > 0) {
        const snd_pcm_sframes_t n = snd_pcm_writei(pcm, data, left);
        if (n < 0) {
            // An underrun or a suspend: recover once or twice, then give up.
            if (++retries > 3 || snd_pcm_recover(pcm, static_cast<int>(n), 1) < 0)
                break;
            continue;
        }
        data += n * frameBytes;
        left -= static_cast<snd_pcm_uframes_t>(n);
    }
    snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
}

#else

void PlayBlocking(const WaveInfo&, const QByteArray&) {}

#endif

void PlayFile(const QString& path)
{
    QByteArray samples;
    const std::optional<WaveInfo> info = ReadWave(path, &samples);
    if (info && info->frames > 0)
        PlayBlocking(*info, samples);
}

// One thread plays the queued sounds in order. It starts with the first
// sound and lives until the program ends, finishing the sound it plays.
class Queue {
public:
    struct Item {
        QString name;
        QString path; // found on the caller's thread, where the program's folder is known
    };

    ~Queue()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            items_.clear(); // what has not started yet is not worth waiting for
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

    void Push(Item item, bool onlyWhenIdle)
    {
        {
            std::lock_guard lock(mutex_);
            if (onlyWhenIdle && !items_.empty())
                return;
            items_.push_back(std::move(item));
            if (!thread_.joinable())
                thread_ = std::thread([this] { Run(); });
        }
        wake_.notify_all();
    }

    void WaitUntilEmpty()
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return items_.empty() && !playing_; });
    }

    void SetPlayer(std::function<void(const QString&)> player)
    {
        std::lock_guard lock(mutex_);
        player_ = std::move(player);
    }
    bool HasPlayer()
    {
        std::lock_guard lock(mutex_);
        return bool(player_);
    }

private:
    void Run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !items_.empty(); });
            if (items_.empty())
                return; // stopping
            const Item item = std::move(items_.front());
            items_.pop_front();
            playing_ = true;
            const auto player = player_;
            lock.unlock();
            if (player)
                player(item.name);
            else
                PlayFile(item.path);
            lock.lock();
            playing_ = false;
            done_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<Item> items_;
    bool playing_ = false;
    bool stopping_ = false;
    std::function<void(const QString&)> player_;
    std::thread thread_;
};

Queue& TheQueue()
{
    static Queue queue;
    return queue;
}

void Enqueue(const QString& name, bool hover)
{
    if (g_recorded) {
        g_recorded->append(name);
        return;
    }
    Queue& queue = TheQueue();
    const bool fake = queue.HasPlayer();
    if (!fake && SoundOff())
        return;
    QString path;
    if (!fake) {
        path = Locate(name);
        if (path.isEmpty())
            return;
    }
    queue.Push({name, path}, hover);
}

} // namespace

QString Folder()
{
    if (!g_folder.isEmpty())
        return g_folder;
    return QDir(DataFolder()).filePath(QStringLiteral("sounds"));
}

QString Locate(const QString& name)
{
    // The name is the program's literal: the folder followed directly by
    // "\Cmd.wav", the backslash being a separator of the program's own writing.
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    relative = QDir::cleanPath(relative);
    while (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    if (relative.isEmpty())
        return {};
    const QFileInfo rel(relative);
    const QString folder =
        rel.path() == QLatin1String(".") ? Folder() : QDir(Folder()).filePath(rel.path());
    return FindFile(folder, rel.fileName());
}

std::optional<WaveInfo> ReadWave(const QString& path, QByteArray* samples)
{
    QFile file(path);
    // Our sounds are short; anything huge is not one of them.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 16 * 1024 * 1024)
        return std::nullopt;
    Wave wave;
    if (!ParseWave(file.readAll(), wave))
        return std::nullopt;
    WaveInfo info;
    info.channels = wave.channels;
    info.rate = wave.rate;
    info.bitsPerSample = wave.bitsPerSample;
    info.frames = wave.samples.size() / (wave.channels * wave.bitsPerSample / 8);
    if (samples)
        *samples = std::move(wave.samples);
    return info;
}

void Play(const QString& name)
{
    Enqueue(name, false);
}

void PlayHover(const QString& name)
{
    Enqueue(name, true);
}

void WaitUntilPlayed()
{
    TheQueue().WaitUntilEmpty();
}

void SetPlayerForTesting(std::function<void(const QString& name)> player)
{
    TheQueue().SetPlayer(std::move(player));
}

void RecordForTesting(QStringList* played)
{
    g_recorded = played;
}

void SetFolderForTesting(const QString& folder)
{
    g_folder = folder;
}

} // namespace app::Sound
