#include "serial/handle_table.h"

namespace win32 {

HandleTable& HandleTable::Instance() {
  static HandleTable table;
  return table;
}

HANDLE HandleTable::NextHandle() {
  const HANDLE handle = next_;
  next_ += 4;
  return handle;
}

HANDLE HandleTable::AddDevice(std::unique_ptr<CommDevice> device) {
  auto entry = std::make_unique<DeviceEntry>();
  entry->device = std::move(device);
  const HANDLE handle = NextHandle();
  devices_[handle] = std::move(entry);
  return handle;
}

HANDLE HandleTable::AddEvent(bool manualReset, bool initialState) {
  const HANDLE handle = NextHandle();
  events_[handle] = EventEntry{manualReset, initialState, 0};
  return handle;
}

DeviceEntry* HandleTable::Device(HANDLE handle) {
  auto it = devices_.find(handle);
  return it == devices_.end() ? nullptr : it->second.get();
}

EventEntry* HandleTable::Event(HANDLE handle) {
  auto it = events_.find(handle);
  return it == events_.end() ? nullptr : &it->second;
}

std::unique_ptr<DeviceEntry> HandleTable::TakeDevice(HANDLE handle) {
  auto it = devices_.find(handle);
  if (it == devices_.end()) return nullptr;
  auto entry = std::move(it->second);
  devices_.erase(it);
  return entry;
}

bool HandleTable::RemoveEvent(HANDLE handle) {
  return events_.erase(handle) > 0;
}

}  // namespace win32
