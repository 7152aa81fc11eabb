#pragma once

// A recording runs inside the command that started it and lets window events through, so
// every other command can still be chosen meanwhile. The commands that would disturb it
// (another recording, reading aloud, the test phrase, opening or clearing the book) ask here.
namespace busy {

bool recording();

// Marks a recording for as long as it lives.
class RecordingScope
{
public:
    RecordingScope();
    ~RecordingScope();
    RecordingScope(const RecordingScope &) = delete;
    RecordingScope &operator=(const RecordingScope &) = delete;
};

// While a recording runs, tells the user so and returns true: the command must not go on.
bool refuseWhileRecording();

} // namespace busy
