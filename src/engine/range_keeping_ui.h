// RangeKeepingUi: an ExtractionUi that hands every call on to another and
// keeps the progress range, which the extraction sets to the sum of the
// package's file sizes once the directory is read.
#pragma once

#include <cstdint>
#include <string>

#include "engine/extraction_ui.h"

namespace qz {

class RangeKeepingUi final : public ExtractionUi {
  public:
    // `inner` must outlive this object.
    explicit RangeKeepingUi(ExtractionUi& inner) : m_inner(inner) {}

    bool ProductIsRunning() override { return m_inner.ProductIsRunning(); }
    bool AskRunningCopy() override { return m_inner.AskRunningCopy(); }
    void ShowMessage(const char* text) override { m_inner.ShowMessage(text); }
    void SetRange(std::int32_t upper) override {
        m_range = upper;
        m_inner.SetRange(upper);
    }
    void SetPosition(std::int32_t position) override { m_inner.SetPosition(position); }
    void SetStatus(const std::string& text) override { m_inner.SetStatus(text); }

    // The last range set; 0 before any.
    std::int32_t Range() const { return m_range; }

  private:
    ExtractionUi& m_inner;
    std::int32_t m_range = 0;
};

}  // namespace qz
