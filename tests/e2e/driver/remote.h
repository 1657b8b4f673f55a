// Talking to the program's windows from this process: sent messages with a deadline, window
// texts, and memory inside the program for the messages whose pointers Windows does not carry
// across processes (tool tips, drops).
#pragma once

#include <windows.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "driver/wait.h"

namespace zelvo::e2e {

// Sends and returns the program's answer; throws when it does not answer within the timeout
// (a program that sits in a message box still answers: the box pumps messages).
LRESULT Send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0,
             Milliseconds timeout = kTimeout);
// Queues a message without waiting: for actions that may open a modal box.
void Post(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);

// WM_GETTEXT, which Windows marshals across processes (GetWindowText would not ask the control).
std::string WindowText(HWND hwnd);
std::string ClassName(HWND hwnd);

// The top-level windows of a process with this class, in z-order (topmost first).
std::vector<HWND> TopLevelWindows(DWORD process_id, const std::wstring& class_name);

// Committed read-write memory in another process, freed with it unless handed over. The process
// handle must outlive it.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, size_t size);
  RemoteMemory(RemoteMemory&& other) noexcept;
  RemoteMemory& operator=(RemoteMemory&& other) noexcept;
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  ~RemoteMemory();

  // The address inside the program, to pass in a message.
  void* Address(size_t offset = 0) const;
  size_t Size() const { return size_; }
  void Write(size_t offset, const void* data, size_t size);
  void Read(size_t offset, void* data, size_t size) const;
  // Gives the block to the program (it lives until the program ends) and returns its address.
  void* Release();

 private:
  void Free();

  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_ = 0;
};

// The text of the tool tip that a tooltips_class32 control of the process shows for the control
// (tools added with TTF_IDISHWND, or for the control's own rectangle); nullopt when no tool
// covers the control.
std::optional<std::string> ToolTipText(HANDLE process, DWORD process_id, HWND control);

// Drops files on a window of the program as the shell does: a DROPFILES block (wide paths) is
// written into the program and its address posted as the HDROP of WM_DROPFILES. The point is in
// the window's client coordinates.
void DropFiles(HANDLE process, HWND target, const std::vector<std::filesystem::path>& paths,
               POINT point);

}  // namespace zelvo::e2e
