#pragma once

// The three searches behind FindSerialPorts, and what they share. Each appends to `list`.
#include <cstddef>
#include <string>

#include "serial/PortSearchLayer.h"
#include "serial/SerInfo.h"

namespace portsearch {

// Fixed buffers of the searches: a value counts only when it fits with its terminator.
constexpr size_t kDetailBufferSize = 261;
constexpr size_t kDetailPathCapacity = kDetailBufferSize - 4;  // behind the size field
constexpr size_t kPropertyCapacity = 256;
constexpr size_t kKeyNameCapacity = 128;
constexpr size_t kValueCapacity = 128;

// "<what> (err=<code in lower-case hex>)"
std::string WithErrorCode(const char* what, uint32_t code);

void FindPortsByInterface(IPortSearchLayer& layer, SerInfoList& list);
void ListNumberedPorts(SerInfoList& list);
void FindPortsInRegistry(IPortSearchLayer& layer, SerInfoList& list);

// Friendly name from the port name, description from the friendly name.
void CompleteRecord(SSerInfo& info);

}  // namespace portsearch
