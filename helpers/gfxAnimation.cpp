#include "helpers/gfxAnimation.h"

#include "helpers/RoundToInt.h"

#include <cmath>

namespace {

enum EndAction { WRAP, STOP, TURN };

// What each mode does when the next frame would be nFrames (upper) or below 0
// (lower); modes outside 0-7 wrap at both ends.
const EndAction kUpperEnd[8] = {STOP, WRAP, TURN, STOP, WRAP, WRAP, TURN, TURN};
const EndAction kLowerEnd[8] = {WRAP, STOP, STOP, TURN, WRAP, WRAP, TURN, TURN};

}  // namespace

gfxAnimation::gfxAnimation(HTEXTURE tex, int nframes, float fps, float x, float y, float w, float h)
    : gfxSprite(tex, x, y, w, h),
      orig_width(gfx ? gfx->Texture_GetWidth(tex, true) : 0),
      bPlaying(false),
      fSpeed(1.0f / fps),
      fSinceLastFrame(-1.0f),
      Mode(GFXANIM_LOOP),
      nDelta(1),
      nFrames(nframes < 1 ? 1 : nframes),
      nCurFrame(0) {
    SetFrame(0);
}

void gfxAnimation::Play() {
    bPlaying = true;
    fSinceLastFrame = -1.0f;
    StartDirection();
}

void gfxAnimation::Stop() { bPlaying = false; }

bool gfxAnimation::IsPlaying() const { return bPlaying; }

void gfxAnimation::SetMode(int mode) {
    Mode = mode;
    StartDirection();
}

void gfxAnimation::StartDirection() {
    if (Mode & GFXANIM_REV) {
        nDelta = -1;
        SetFrame(nFrames - 1);
    } else {
        nDelta = 1;
        SetFrame(0);
    }
}

void gfxAnimation::Update(float dt) {
    if (!bPlaying) return;
    if (fSinceLastFrame == -1.0f) {
        fSinceLastFrame = 0.0f;
    } else if (std::isfinite(dt)) {
        fSinceLastFrame += dt;
        if (!std::isfinite(fSinceLastFrame)) fSinceLastFrame = 0.0f;
    }
    // A negative, zero, NaN or infinite period never uses the time up.
    if (!(fSpeed > 0.0f) || !std::isfinite(fSpeed) || !(fSinceLastFrame >= fSpeed)) return;
    // A period too small to count against the gathered time: the whole
    // periods are dropped unstepped.
    if (fSinceLastFrame - fSpeed == fSinceLastFrame) {
        fSinceLastFrame = std::fmod(fSinceLastFrame, fSpeed);
        return;
    }
    // The quotient of two floats, floored in double, is the exact count of
    // whole periods; what is left of the last one stays gathered.
    const double periods = std::floor(static_cast<double>(fSinceLastFrame) / fSpeed);
    fSinceLastFrame = static_cast<float>(fSinceLastFrame - periods * fSpeed);
    Advance(static_cast<long long>(periods));
}

// As many frame steps as one Step each, in constant time: a run to the end
// in the current direction, the mode's action there, and after a wrap, or a
// turn at both ends, whole cycles of the mode skipped.
void gfxAnimation::Advance(long long steps) {
    const long long frames = nFrames < 1 ? 1 : nFrames;
    // A loop that turns at both ends repeats after twice the frame count less two steps.
    const long long pingPongCycle = frames > 1 ? 2 * frames - 2 : 2;
    int turns = 0;
    while (steps > 0 && bPlaying) {
        long long toEnd = nDelta > 0 ? frames - 1 - nCurFrame : nCurFrame;
        if (toEnd < 0) toEnd = 0;
        if (steps <= toEnd) {
            SetFrame(static_cast<int>(nCurFrame + nDelta * steps));
            return;
        }
        SetFrame(static_cast<int>(nCurFrame + nDelta * toEnd));
        steps -= toEnd + 1;
        const int delta = nDelta;
        Step();
        // Wrapped: the frames go round in this direction for good.
        if (bPlaying && nDelta == delta) {
            SetFrame(static_cast<int>((nCurFrame + nDelta * (steps % frames)) % frames));
            return;
        }
        if (++turns >= 2) steps %= pingPongCycle;
    }
}

void gfxAnimation::Step() {
    const int next = nCurFrame + nDelta;
    const bool atMode = Mode >= 0 && Mode < 8;
    EndAction action = WRAP;
    if (next == nFrames) {
        action = atMode ? kUpperEnd[Mode] : WRAP;
    } else if (next < 0) {
        action = atMode ? kLowerEnd[Mode] : WRAP;
    }
    if (action == STOP) bPlaying = false;
    if (action == TURN) nDelta = -nDelta;
    if (bPlaying) SetFrame(nCurFrame + nDelta);
}

void gfxAnimation::SetFrame(int n) {
    const int frames = nFrames < 1 ? 1 : nFrames;
    const int wr = RoundToInt(width);
    const int ncols = wr >= 1 ? orig_width / wr : 0;

    n %= frames;
    if (n < 0) n += frames;
    nCurFrame = n;

    float fx = tx + static_cast<float>(n) * width;
    float fy = ty;
    // Without a whole frame per row there is no grid: the frame stays in the
    // first row, and the sprite draws.
    if (fx > static_cast<float>(orig_width) - width && ncols >= 1) {
        const long long first = RoundToInt(static_cast<float>(orig_width) - tx) / wr;
        const long long m = n - first;
        fx = width * static_cast<float>(m % ncols);
        fy = ty + height * static_cast<float>(m / ncols + 1);
    }
    SetTexCoords(fx, fy, width, height);
    ReapplyFlip();
}

int gfxAnimation::GetFrame() const { return nCurFrame; }

int gfxAnimation::GetFrames() const { return nFrames; }

void gfxAnimation::SetTextureRect(float x, float y, float w, float h) {
    gfxSprite::SetTextureRect(x, y, w, h, true);
    SetFrame(nCurFrame);
}
