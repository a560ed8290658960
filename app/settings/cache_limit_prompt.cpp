// The window's side of the disk cache limit: the Cache tab's note while the
// user moves the sliders, and the question "Ok" asks before it writes.

#include "app/settings/cache_limit.h"
#include "app/ui/form1.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"
#include "syslib/plinth.h"

namespace tw::app {

void Form1::showCacheLimitNote() {
  skipErrors([&] {
    Label32->setCaption(cacheLimitNote({Slider1->value(), Slider2->value()}, TotalMemoryKB));
  });
}

bool Form1::confirmCacheLimit() {
  CacheSizes today;
  skipErrors([&] {
    Plinth& p = plinth();
    today.minKB = toLong(val(p.INIRead("vcache", "MinFileCache", "0", catalogue::kSystemIni)));
    today.maxKB = toLong(val(p.INIRead("vcache", "MaxFileCache", "0", catalogue::kSystemIni)));
  });
  const CacheSizes pending{PendingSettings.MinFileCache, PendingSettings.MaxFileCache};
  if (!applyNeedsCacheConfirmation(today, pending, TotalMemoryKB)) return true;

  const int answer = dialogs().msgBox(cacheLimitQuestion(pending),
                                      MsgBoxStyle::YesNoCancel | MsgBoxStyle::Exclamation, "Tunewell Tools");
  if (answer == MsgBoxResult::Cancel) return false;
  if (answer == MsgBoxResult::Yes) {
    // Through the sliders, so that the pending record and the readouts agree.
    const CacheSizes proposal = startableProposal(pending);
    skipErrors([&] { showValue(*Slider1, proposal.minKB); });
    skipErrors([&] { showValue(*Slider2, proposal.maxKB); });
  }
  return true;
}

}  // namespace tw::app
