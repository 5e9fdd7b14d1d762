// Shared by the list and file selection page tests: a frame with the real first page,
// pictures written by Pillow, and the rows as a user reads them.
#pragma once

#include <string>
#include <vector>

// The wx headers come before FrameFixture.h, whose FreeImage header defines a name that
// later wx headers take for a Windows build.
#include "ui/list/ConvListCtrl.h"
#include "ui/list/FileDropTarget.h"
#include "ui/list/FileSelectionPage.h"
#include "ui/list/SearchDialog.h"
#include "FrameFixture.h"

// Writes a small PNG (or JPEG, by extension) at every path, through Pillow; false when
// Python or Pillow is missing or a write fails. Folders are created.
bool WritePictures(const std::vector<std::string>& paths);

class ListTest : public FrameTest {
 protected:
  void OpenListFrame();
  // Appends items to the model as a search would, and applies them to the view.
  ConversionItem& AddItem(std::unique_ptr<ConversionItem> item);
  // The source path of every row, top to bottom.
  std::vector<std::string> RowNames() const;
  // The screen point inside a row's first cell.
  wxPoint RowPoint(int row) const;

  FileSelectionPage* page_ = nullptr;
  CConvListCtrl* list_ = nullptr;
  std::vector<std::string> opened_;
};
