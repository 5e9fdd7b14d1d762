#include "ui/pages/OptionPages.h"

#include "ui/frame/ConfigurationBar.h"
#include "ui/frame/MainFrame.h"
#include "ui/pages/ResizeOptionPage.h"
#include "ui/pages/ShadowOverlayPage.h"

namespace {

template <typename PageType>
int FindPage(ConfigurationBar& bar, PageType*& found) {
  for (int i = 0; i < bar.PageCount(); ++i) {
    if (auto* page = dynamic_cast<PageType*>(bar.Page(i))) {
      found = page;
      return i;
    }
  }
  found = nullptr;
  return -1;
}

// Commits one page silently; on a faulty field selects it and lets its exchange show
// the message and focus the field.
template <typename PageType>
bool CommitPage(ConfigurationBar& bar) {
  PageType* page = nullptr;
  const int index = FindPage(bar, page);
  if (!page || page->CommitToSettings(false)) return true;
  bar.SwitchTo(index);
  page->ExchangeData(true);
  return false;
}

template <typename PageType>
bool FocusOn(ConfigurationBar& bar, SettingsField field) {
  PageType* page = nullptr;
  const int index = FindPage(bar, page);
  if (!page || !page->ControlFor(field)) return false;
  if (!bar.SwitchTo(index)) return false;
  return page->FocusField(field);
}

}  // namespace

AppSettings& OptionPageSettings() {
  static AppSettings alone;
  return TheMainFrame() ? TheMainFrame()->Session().settings : alone;
}

PageDialog* MakeResizeOptionPage(wxWindow* parent) {
  return new ResizeOptionPage(parent, OptionPageSettings());
}

PageDialog* MakeShadowOverlayPage(wxWindow* parent) {
  return new ShadowOverlayPage(parent, OptionPageSettings());
}

bool CommitOptionPages(ConfigurationBar& bar) {
  const bool resize = CommitPage<ResizeOptionPage>(bar);
  // One message at a time: the second page is written back silently after a first fault.
  if (!resize) {
    ShadowOverlayPage* page = nullptr;
    FindPage(bar, page);
    if (page) page->CommitToSettings(false);
    return false;
  }
  return CommitPage<ShadowOverlayPage>(bar);
}

bool ReadShownSettings(ConfigurationBar& bar, ConversionSettings& settings) {
  bool complete = true;
  for (int i = 0; i < bar.PageCount(); ++i)
    if (auto* page = dynamic_cast<OptionPage*>(bar.Page(i)))
      complete = page->ReadShownInto(settings) && complete;
  return complete;
}

void ShowOnOptionPages(ConfigurationBar& bar, const ConversionSettings& settings) {
  for (int i = 0; i < bar.PageCount(); ++i)
    if (auto* page = dynamic_cast<OptionPage*>(bar.Page(i))) page->ShowSettings(settings);
}

bool ShowSettingsField(ConfigurationBar& bar, SettingsPage page, SettingsField field) {
  return page == SettingsPage::ShadowAndOverlay ? FocusOn<ShadowOverlayPage>(bar, field)
                                                : FocusOn<ResizeOptionPage>(bar, field);
}
