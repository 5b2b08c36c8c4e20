#pragma once
// One open hidraw node, seen as one of its top-level collections. Split from
// the backend so that tests can drive it over any descriptor (a pipe stands in
// for the node: poll, read and hang-up behave alike).
#include "platform/hid/hid_transport.h"
#include "platform/hidraw/descriptor_parser.h"
#include "platform/hidraw/unique_fd.h"

#include <memory>
#include <string>

namespace platform {

// Takes the fd (already open, non-blocking) of `node`, whose report
// descriptor parsed to `desc`, as collection `collection`. Null with the
// reason in *error when the collection does not exist or no eventfd can be had.
std::unique_ptr<IHidDevice> MakeHidrawDevice(const std::string& node, UniqueFd fd, const HidDescriptorInfo& desc,
                                             size_t collection, std::string* error);

// Errors that mean the device is no longer there.
bool IsGoneErrno(int err);

}  // namespace platform
