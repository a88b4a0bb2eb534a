#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

// The samples of every tone a sound has been given so far, each kept as long
// as its longest use. A melody repeats its notes, and copying a note's samples
// costs a fraction of computing each sine again. A tone's samples depend on
// nothing but its step per sample and its amplitude, so the copy holds the
// very values a new computation would give.
class ToneSamples
{
public:
    // The first count samples of sin(i * step) * amplitude, truncated and
    // saturated to 16 bits; valid until the next call.
    const int16_t* Get(double step, int amplitude, uint64_t count);

private:
    struct Key
    {
        uint64_t stepBits;
        int amplitude;
        bool operator==(const Key& other) const { return stepBits == other.stepBits && amplitude == other.amplitude; }
    };
    struct KeyHash
    {
        size_t operator()(const Key& key) const
        {
            return std::hash<uint64_t>()(key.stepBits ^ (uint64_t(uint32_t(key.amplitude)) << 40));
        }
    };

    std::unordered_map<Key, std::vector<int16_t>, KeyHash> m_Tones;
};
