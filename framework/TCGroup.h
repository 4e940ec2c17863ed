#pragma once
#include <memory>
#include <vector>

#include "framework/TContent.h"

namespace vesko {

// Contents drawn together, in list order; each child applies its own formation. The group's
// size grows to the largest child size.
class TCGroup : public TContent {
public:
    static std::shared_ptr<TCGroup> Create();
    void addContent(const std::shared_ptr<TContent>& content);
    void addContents(const std::vector<std::shared_ptr<TContent>>& contents);
    // Removes every occurrence; an absent content changes nothing.
    void removeContent(const std::shared_ptr<TContent>& content);
    void Clear();
    int32_t countContents() const { return static_cast<int32_t>(childs.size()); }
    const std::vector<std::shared_ptr<TContent>>& getContents() const { return childs; }
    // Null when i is out of range.
    std::shared_ptr<TContent> getContent(int32_t i) const;

    void _Draw(float x, float y) override;
    // Copies the children too, so formations of the copy are its own.
    std::shared_ptr<TContent> _Copy() const override;

    std::vector<std::shared_ptr<TContent>> childs;

private:
    void _Resize();
};

}  // namespace vesko
