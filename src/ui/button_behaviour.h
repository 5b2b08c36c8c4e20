#pragma once
// The mouse state machine every clickable control shares, as plain functions
// of its input so that each control (and its tests) agree on one rule.
// States: 0 normal, 1 hover, 2 pressed.

constexpr int kStateNormal = 0;
constexpr int kStateHover = 1;
constexpr int kStatePressed = 2;

// A move: a disabled control keeps its look; a pressed one stays pressed
// until the button comes up, wherever the pointer goes.
constexpr int StateAfterMove(bool disabled, int state, bool inside)
{
    if (disabled || state == kStatePressed) return state;
    return inside ? kStateHover : kStateNormal;
}

struct DownStep {
    int state;
    bool sendDown;  // CE_DOWN
};
constexpr DownStep StateAfterDown(bool disabled, int state, bool inside)
{
    if (disabled || !inside) return {state, false};
    return {kStatePressed, true};
}

struct UpStep {
    int state;
    bool click;  // do the class action, then CE_CLICK
};
// The control checks the point itself: pressing, moving out and releasing
// outside is no click.
constexpr UpStep StateAfterUp(bool disabled, int state, bool inside)
{
    if (disabled) return {state, false};
    return inside ? UpStep{kStateHover, true} : UpStep{kStateNormal, false};
}
