// Playing the music players' sound files.

#include "outside/MusicTracks.h"

#include "platform/sound/SoundFile.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <strings.h>
#include <vector>

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

bool IsSoundFile(const std::filesystem::path& path) {
    std::string bytes;
    return ReadWholeFile(path.string(), bytes, platform::kMaxSoundFileBytes) &&
           platform::SniffSound(bytes.data(), bytes.size()) != platform::SoundFormat::Unknown;
}

// A folder's first sound file by name, as a path in the caller's form.
std::string FirstSoundIn(const std::string& folder) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(folder.c_str()), error))
        if (entry.is_regular_file(error))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    const bool endsWithSeparator = folder.back() == '\\' || folder.back() == '/';
    for (const auto& file : files)
        if (IsSoundFile(file))
            return folder + (endsWithSeparator ? "" : "\\") + WindowsPath(file.filename().string());
    return std::string();
}

} // namespace

long MusicTracks::DecibelsOf(int volume) {
    volume = std::clamp(volume, 0, 100);
    if (volume == 0)
        return platform::kVolumeMin;
    return std::lround(2000.0 * std::log10(volume / 100.0));
}

void MusicTracks::Refuse(const std::string& file, const std::string& why) {
    m_lastRefusal = "music player: \"" + file + "\" not played: " + why;
    fprintf(stderr, "%s\n", m_lastRefusal.c_str());
}

void MusicTracks::DropEnded() {
    for (auto it = m_tracks.begin(); it != m_tracks.end();)
        it = it->second.sound->IsPlaying() ? std::next(it) : m_tracks.erase(it);
}

int MusicTracks::Play(const std::string& name, bool loop) {
    DropEnded();
    std::string file = name;
    std::error_code error;
    if (!name.empty() && std::filesystem::is_directory(NativePath(name.c_str()), error)) {
        file = FirstSoundIn(name);
        if (file.empty()) {
            Refuse(name, "the folder holds no sound file");
            return 0;
        }
    }
    auto sound = std::make_unique<platform::SoundBuffer>();
    std::string why;
    if (!sound->LoadFromFile(file, &why)) {
        Refuse(file, why);
        return 0;
    }
    Track track{file, 100, std::move(sound)};
    ApplyVolume(track);
    if (!track.sound->Play(loop)) {
        Refuse(file, "the sound output refused it");
        return 0;
    }
    m_tracks[++m_lastId] = std::move(track);
    return m_lastId;
}

void MusicTracks::StopName(const std::string& file) {
    for (auto it = m_tracks.begin(); it != m_tracks.end();)
        it = SameName(it->second.file, file) ? m_tracks.erase(it) : std::next(it);
}

void MusicTracks::StopId(int id) {
    m_tracks.erase(id);
}

void MusicTracks::StopAll() {
    m_tracks.clear();
}

bool MusicTracks::IsPlaying(int id) const {
    auto it = m_tracks.find(id);
    return it != m_tracks.end() && it->second.sound->IsPlaying();
}

void MusicTracks::ApplyVolume(Track& track) const {
    const int volume = m_muted ? 0 : track.volume * m_masterVolume / 100;
    track.sound->SetVolume(DecibelsOf(volume));
}

void MusicTracks::SetMasterVolume(int volume) {
    m_masterVolume = std::clamp(volume, 0, 100);
    for (auto& [id, track] : m_tracks)
        ApplyVolume(track);
}

void MusicTracks::SetVolume(const std::string& file, int volume) {
    for (auto& [id, track] : m_tracks)
        if (SameName(track.file, file)) {
            track.volume = std::clamp(volume, 0, 100);
            ApplyVolume(track);
        }
}

void MusicTracks::SetVolume(int id, int volume) {
    auto it = m_tracks.find(id);
    if (it == m_tracks.end())
        return;
    it->second.volume = std::clamp(volume, 0, 100);
    ApplyVolume(it->second);
}

void MusicTracks::SetMute(bool mute) {
    m_muted = mute;
    for (auto& [id, track] : m_tracks)
        ApplyVolume(track);
}
