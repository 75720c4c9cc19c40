#pragma once

#include <string>
#include <utility>

namespace gravlink {

// The base of every component of the access layer: a name and an owner. The owner
// only names the component (it leads the full name of every database failure); it
// does not own its lifetime, which C++ scope decides. An owner must outlive the
// components that name it.
class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr, std::string name = {})
        : FOwner(owner), FName(std::move(name)) {}
    virtual ~TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }
    TComponent* Owner() const { return FOwner; }

private:
    TComponent* FOwner;
    std::string FName;
};

// The names of the owners, outermost first, each followed by ".", then the
// component's own name; nameless owners and a nameless component are skipped:
// "frmMain.dbsGrav".
std::string FullName(const TComponent* component);

} // namespace gravlink
