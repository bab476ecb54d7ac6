// The picture shown while the demo loads: an "off" image turns into an "on"
// image in the order a grey mask gives, as the runner raises the progress.
#pragma once

class Shader;
class Texture;

namespace DD
{
class LoadingScreen
{
public:
    // Archive names of the three pictures.
    LoadingScreen(const char* imageOff, const char* imageOn, const char* mask);
    // The pictures and the shader stay until the GL context ends.
    ~LoadingScreen() {}

    // Kept in [0, 1]; a NaN (0 loaded of 0) counts as 0.
    void setProgress(float progress);
    float getProgress() const { return m_progress; }

    // Fills the current draw buffer with the picture for the current progress.
    void draw();

private:
    LoadingScreen(const LoadingScreen&) = delete;
    LoadingScreen& operator=(const LoadingScreen&) = delete;

    Texture* m_imageOff;
    Texture* m_imageOn;
    Texture* m_mask;
    Shader* m_shader;
    float m_progress;
};
}
