#pragma once
// The owning list of extended tags held with an SPC image. Tags keep their
// address while they are in the list, so an editor may point at one.

#include <cstddef>
#include <memory>
#include <vector>

#include "sound/SPC_ExtTag.h"

class tSPC_ExtTags
{
  public:
    size_t Count() const { return Tags_.size(); }
    bool Empty() const { return Tags_.empty(); }
    tSPC_ExtTag& operator[](size_t I) { return *Tags_[I]; }
    const tSPC_ExtTag& operator[](size_t I) const { return *Tags_[I]; }
    tSPC_ExtTag& Add(const tSPC_ExtTag& Tag)
    {
        Tags_.push_back(std::make_unique<tSPC_ExtTag>(Tag));
        return *Tags_.back();
    }
    void Clear() { Tags_.clear(); }

  private:
    std::vector<std::unique_ptr<tSPC_ExtTag>> Tags_;
};
