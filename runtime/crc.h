#pragma once
// Bit-by-bit cyclic redundancy check for a handful of fixed parameter sets.
// One object serves one computation: there is no reset, a new checksum takes a
// new object from one of the factories. The caller owns and deletes it.
#include <cstddef>
#include <cstdint>

class CRC {
public:
    static CRC* createCrc8();
    static CRC* createCrc15Can();
    static CRC* createCrc16Ccitt();
    static CRC* createCrc16();
    static CRC* createCrc24();
    static CRC* createCrc32();
    static CRC* createCrc32K();

    virtual ~CRC() = default;
    CRC(const CRC&) = delete;
    CRC& operator=(const CRC&) = delete;

    void update(uint8_t byte);
    // Feeds the bytes of a NUL-terminated text, without the NUL.
    void updateString(const char* text);
    // Feeds length bytes; nothing for a length below 1.
    void updateBlock(const void* data, long length);
    // The checksum so far; reading it leaves the computation undisturbed.
    uint32_t result() const;
    // The value with its lowest width bits in reverse order.
    uint32_t reflect(uint32_t value) const;

    const char* name() const { return mName; }
    uint32_t width() const { return mWidth; }

private:
    CRC(const char* name, uint32_t width, uint32_t polynomial, uint32_t initial, bool reflectIn,
        bool reflectOut, uint32_t finalXor);

    const char* mName;
    uint32_t mWidth;
    uint32_t mTopBit;
    uint32_t mMask;
    uint32_t mPolynomial;
    uint32_t mInitial;
    bool mReflectIn;
    bool mReflectOut;
    uint32_t mFinalXor;
    uint32_t mRegister;
};
