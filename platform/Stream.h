#pragma once
// TStream: a sequence of bytes with a position, read and written in blocks.
// ReadBuffer and WriteBuffer move exactly the count asked for or raise, so a
// loader that reads fixed records through them can never take a short read
// for data. Positions and sizes are 64-bit.

#include <cstdint>

#include "platform/Classes.h"

enum TSeekOrigin { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

class TStream : public TObject {
public:
    // The number of bytes moved; fewer than count at the end of the data.
    virtual int Read(void* buffer, int count) = 0;
    virtual int Write(const void* buffer, int count) = 0;
    // The new position, or -1 (position unchanged) when it would be negative.
    virtual std::int64_t Seek(std::int64_t offset, int origin) = 0;

    std::int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(std::int64_t pos) { Seek(pos, soFromBeginning); }
    virtual std::int64_t Size();
    // Streams that cannot change their size raise EStreamError.
    virtual void SetSize(std::int64_t size);

    // EReadError "Stream read error" unless exactly count bytes were read.
    void ReadBuffer(void* buffer, int count);
    // EWriteError "Stream write error" unless exactly count bytes were written.
    void WriteBuffer(const void* buffer, int count);
    // Copies count bytes from the source's position; a count of 0 copies the
    // whole source from its start. Returns the bytes copied; a short source
    // raises EReadError.
    std::int64_t CopyFrom(TStream* source, std::int64_t count);
};
