#include "ListTestSupport.h"

#include <cstdio>
#include <filesystem>

#include "UiTestSupport.h"

bool WritePictures(const std::vector<std::string>& paths) {
  const std::string list =
      std::filesystem::temp_directory_path() / ("bm-pictures-" + std::to_string(getpid()) + ".txt");
  std::string names;
  for (const auto& p : paths) names += p + "\n";
  WriteFile(list, names);
  const std::string script =
      "import os,sys\nfrom PIL import Image\n"
      "for i,p in enumerate(open(sys.argv[1],encoding='utf-8').read().split('\\n')):\n"
      "  if not p: continue\n"
      "  os.makedirs(os.path.dirname(p),exist_ok=True)\n"
      "  Image.new('RGB',(8+i%5,6),(i%256,40,90)).save(p,'JPEG' if "
      "p.lower().endswith(('.jpg','.jpeg')) else 'PNG')\n";
  WriteFile(list + ".py", script);
  const int rc = std::system(("/usr/bin/python3 '" + list + ".py' '" + list + "'").c_str());
  std::remove(list.c_str());
  std::remove((list + ".py").c_str());
  return rc == 0;
}

void ListTest::OpenListFrame() {
  OpenFrame();
  page_ = TheFileSelectionPage();
  ASSERT_TRUE(page_);
  list_ = page_->List();
  ASSERT_TRUE(list_);
  frame_->Hooks().openFile = [this](const wxString& path) {
    opened_.push_back(path.utf8_string());
  };
}

ConversionItem& ListTest::AddItem(std::unique_ptr<ConversionItem> item) {
  ConversionItem& added = session_->list->Add(std::move(item));
  list_->ApplyPendingChanges();
  added.listFlags = 0;
  return added;
}

std::vector<std::string> ListTest::RowNames() const {
  std::vector<std::string> names;
  for (int row = 0; row < list_->RowCount(); ++row) names.push_back(list_->ItemAt(row)->sourcePath);
  return names;
}

wxPoint ListTest::RowPoint(int row) const {
  wxRect rect;
  list_->GetItemRect(row, rect);
  return list_->ClientToScreen(wxPoint(rect.x + 30, rect.y + rect.height / 2));
}
