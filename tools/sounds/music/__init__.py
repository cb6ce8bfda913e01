"""The game's theme, written once as a score and exported as a ProTracker
module, a standard MIDI file and an OGG rendering."""
