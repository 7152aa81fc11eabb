#pragma once

#include <QString>

#include <memory>

class QSoundEffect;

// Plays a short WAV file such as the end-of-recording signal, without waiting.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &wavPath) = 0;
};

class QtSoundPlayer : public SoundPlayer
{
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void play(const QString &wavPath) override;

private:
    std::unique_ptr<QSoundEffect> m_effect;
};
