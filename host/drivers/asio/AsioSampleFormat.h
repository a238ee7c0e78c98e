#pragma once

namespace Ombix::Kelvane {

// Converts one block of one channel between the device's buffer and a float buffer.
using SampleConverter = void (*)(int frames, void* device, float* floats);

// Bytes one sample of an ASIO sample type takes in a device buffer.
int BytesPerSample(long sampleType);

// The converter for a channel of this sample type (input: device to float; output: float to device).
// Only 16- and 32-bit little-endian integers are converted; for any other type the converter does
// nothing and choosing it logs an error naming the type.
SampleConverter ChooseConverter(long sampleType, bool input);

}  // namespace Ombix::Kelvane
