#include "platform/Automation.h"

namespace platform {

namespace {
AutomationObject* newest = nullptr;
}  // namespace

AutomationObject::AutomationObject(AutomationInstance* object) : object_(object), older_(newest) {
  if (older_) older_->newer_ = this;
  newest = this;
}

AutomationObject::~AutomationObject() {
  Release();
  if (older_) older_->newer_ = newer_;
  if (newer_) newer_->older_ = older_;
  if (newest == this) newest = older_;
}

void AutomationObject::Release() {
  AutomationInstance* object = object_;
  object_ = nullptr;
  if (object) backend::ReleaseInstance(object);
}

void ReleaseAutomationObjects() {
  for (AutomationObject* held = newest; held; held = held->older_) held->Release();
}

}  // namespace platform
