// SDL's disk audio driver writing into a named pipe that the test empties.
//
// The driver's thread fills the next callback only after the previous one is
// written, and a write waits for room in the pipe, so the sound device runs
// at most a few callbacks ahead of the bytes the test has taken. Sound time
// then advances as the test takes it, however the threads are scheduled.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace testkit {

class DiskAudioPipe {
public:
    // Makes the named pipe at sPath (the driver's SDL_DISKAUDIOFILE).
    explicit DiskAudioPipe(std::string sPath);
    ~DiskAudioPipe();
    DiskAudioPipe(const DiskAudioPipe&) = delete;
    DiskAudioPipe& operator=(const DiskAudioPipe&) = delete;

    // Opens the reading end, before the driver opens the device (whose open
    // would otherwise wait for a reader), and forgets earlier bytes.
    bool open();
    // Waits for nBytes more of the device's output; false when the device
    // closed (or never opened) first.
    bool take(size_t nBytes);
    // Closes the device with fnClose while the rest of its output is read
    // (a device blocked on a full pipe could not stop otherwise), then the
    // reading end.
    void close(const std::function<void()>& fnClose);
    // Every byte taken since open, and after close the rest too.
    const std::string& bytes() const { return m_sBytes; }

private:
    void readToEnd();

    std::string m_sPath;
    int m_nFd = -1;
    std::string m_sBytes;
};

}  // namespace testkit
