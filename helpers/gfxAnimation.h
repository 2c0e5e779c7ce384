// A sprite that shows one of several equally sized frames cut from its
// texture and steps through them at a fixed rate in one of eight play modes.
// Frames run right from the texel rectangle to the image's edge, then on in
// rows below that start at the image's left edge.
#pragma once

#include "helpers/gfxSprite.h"

class gfxAnimation : public gfxSprite {
public:
    // A frame count below 1 counts as 1; an fps of 0 never steps.
    gfxAnimation(HTEXTURE tex, int nframes, float fps, float x, float y, float w, float h);
    gfxAnimation(const gfxAnimation& anim) = default;
    gfxAnimation& operator=(const gfxAnimation& anim) = default;

    void Play();
    void Stop();
    bool IsPlaying() const;
    void Update(float dt);
    void SetMode(int mode);
    void SetFrame(int n);
    int GetFrame() const;
    int GetFrames() const;
    // Moves the frame grid with the new rectangle; always adjusts the size.
    void SetTextureRect(float x, float y, float w, float h);

    int orig_width;  // the image's own width, not the surface's
    bool bPlaying;
    float fSpeed;           // seconds per frame
    float fSinceLastFrame;  // -1: fresh start, the next Update only resets it
    int Mode;               // GFXANIM_* bits
    int nDelta;             // +1 or -1
    int nFrames;
    int nCurFrame;

private:
    void StartDirection();
    // One frame step at the end of a period, with the mode's action at an end.
    void Step();
    void Advance(long long steps);
};
