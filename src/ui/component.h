// The base of every component a form owns, and the event type of click and notify handlers.
#pragma once

#include <functional>
#include <string>

namespace ui {

class TObject {
 public:
  virtual ~TObject() = default;
};

// A handler receives the component that raised the event.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TComponent : public TObject {
 public:
  explicit TComponent(std::wstring name) : Name(std::move(name)) {}
  std::wstring Name;
  int Tag = 0;
};

}  // namespace ui
