#include "crc.h"

CRC::CRC(const char* name, uint32_t width, uint32_t polynomial, uint32_t initial, bool reflectIn,
         bool reflectOut, uint32_t finalXor)
    : mName(name),
      mWidth(width),
      mTopBit(1u << (width - 1)),
      mMask(width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1),
      mPolynomial(polynomial),
      mInitial(initial),
      mReflectIn(reflectIn),
      mReflectOut(reflectOut),
      mFinalXor(finalXor),
      mRegister(initial)
{
}

CRC* CRC::createCrc8() { return new CRC("CRC-8", 8, 0xD5, 0xFF, true, true, 0xFF); }
CRC* CRC::createCrc15Can() { return new CRC("CRC-15-CAN", 15, 0x4599, 0x7FFF, true, true, 0x7FFF); }
CRC* CRC::createCrc16Ccitt() { return new CRC("CRC-16-CCITT", 16, 0x1021, 0xFFFF, false, false, 0); }
CRC* CRC::createCrc16() { return new CRC("CRC-16", 16, 0x8005, 0, true, true, 0); }
CRC* CRC::createCrc24() { return new CRC("CRC-24", 24, 0x5D6DCB, 0xFFFFFF, true, true, 0xFFFFFF); }
CRC* CRC::createCrc32()
{
    return new CRC("CRC-32", 32, 0x04C11DB7, 0xFFFFFFFF, true, true, 0xFFFFFFFF);
}
CRC* CRC::createCrc32K()
{
    return new CRC("CRC-32K", 32, 0x741B8CD7, 0xFFFFFFFF, true, true, 0xFFFFFFFF);
}

void CRC::update(uint8_t byte)
{
    // The register is not masked here: bits above the width never reach the
    // result, because result() masks and the top-bit test looks at the width only.
    for (int i = 0; i < 8; ++i) {
        const int bit = mReflectIn ? i : 7 - i;
        const bool d = ((byte >> bit) & 1u) != 0;
        const bool r = (mRegister & mTopBit) != 0;
        mRegister <<= 1;
        if (d != r)
            mRegister ^= mPolynomial;
    }
}

void CRC::updateString(const char* text)
{
    if (!text)
        return;
    for (; *text; ++text)
        update(static_cast<uint8_t>(*text));
}

void CRC::updateBlock(const void* data, long length)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    for (long i = 0; i < length; ++i)
        update(bytes[i]);
}

uint32_t CRC::result() const
{
    const uint32_t value = mReflectOut ? reflect(mRegister) : mRegister;
    return (value ^ mFinalXor) & mMask;
}

uint32_t CRC::reflect(uint32_t value) const
{
    uint32_t reversed = 0;
    for (int i = 0; i < 32; ++i) {
        reversed = (reversed << 1) | (value & 1u);
        value >>= 1;
    }
    return reversed >> (32 - mWidth);
}
