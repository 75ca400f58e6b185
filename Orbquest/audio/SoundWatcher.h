#pragma once

#include <vector>

#include <glm/glm.hpp>

#include "audio/SoundFiles.h"

class SceneCreator;

// A sound to start now.
struct SoundCue {
    Sound sound;
    bool positional;  // plays from 'position' (relative to the ball), else at the ball
    glm::vec3 position;
    float pitch;  // 1: as recorded
};

// What the player should hear after a frame.
struct SoundDecisions {
    std::vector<SoundCue> cues;  // in the order they happened
    float rollingGain = 0.0f;    // 0: the rolling loop is silent
    float rollingPitch = 1.0f;
};

// The chime's pitch once 'done' of 'total' targets are done: it rises evenly up to an octave,
// reached with the last one.
float chimePitch(int done, int total);

// Decides what sounds by watching the level's public state from frame to frame: it never
// changes the level and the game tells it nothing. Its first look only takes in how things
// stand, so nothing sounds for the state the game starts in.
class SoundWatcher {
  public:
    // The first look, at the level as built, so that the first frame's events sound too.
    void start(const SceneCreator& level);
    // Compares the level with how it stood at the last call; 'deltaTime' is the frame's game
    // time, 'paused' silences the rolling loop.
    const SoundDecisions& watch(const SceneCreator& level, float deltaTime, bool paused);

  private:
    void watchTargets(const SceneCreator& level);
    void watchEnd(const SceneCreator& level);
    void cue(Sound sound, float pitch = 1.0f);
    void cueAt(Sound sound, const glm::vec3& position, float pitch = 1.0f);
    float rollingSpeed(const glm::vec3& road, float deltaTime) const;

    SoundDecisions decisions_;
    bool started_ = false;
    std::vector<bool> done_;
    int doneCount_ = 0;
    bool airborne_ = false;
    bool onBlock_ = false;
    bool falling_ = false;
    bool lost_ = false;
    bool won_ = false;
    glm::vec3 road_{0.0f};  // the reference floor slab's position
};
