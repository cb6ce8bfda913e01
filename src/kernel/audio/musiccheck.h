#pragma once
// Music files are checked before the mixer's decoders see them. A decoder
// that meets a song it cannot play, or one that lasts no time at all, may
// restart it forever inside the mixer's thread while it holds the audio lock,
// and the game would wait for that lock for ever. So a file reaches the
// mixer only when its structure holds together the way each format's
// decoder reads it, and when it has something to play.

#include <string_view>

#include "kernel/core/shortstring.h"

// Why File (the whole file's bytes) cannot be played as music of the given
// extension (".MID", ".MOD", ".S3M", ".XM", ".IT", ".OGG", ".MP3", upper
// case); empty when it can.
ShortString MusicFileError(std::string_view File, const ShortString& UpperExtension);
