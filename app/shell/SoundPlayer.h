// The short sounds "Blow" and "Frog", shipped as WAV files and played by a detached player
// process (paplay or aplay, whichever is installed), so that nobody waits for them. Without a
// player, a sound file or an audio device nothing is heard and nothing else changes.
#pragma once

#include <QString>

#include <string>

class SoundPlayer {
  public:
    SoundPlayer();
    // Starts playing and returns at once; safe from any thread.
    void play(const std::string& name) const;
    // Where the sound files are looked for: share/VeskBarcode/sounds beside bin/.
    const QString& folder() const { return fFolder; }

  private:
    QString fPlayer;
    QString fFolder;
};
