#pragma once

// What a play counts as, for the player's two volume controls. Each group's
// volume multiplies the own volume of every play in it.
enum class SoundGroup { Music, Effects };

constexpr int kSoundGroupCount = 2;
