// The criteria of the Find methods: a Jet expression evaluated on one row at a time.
#pragma once

#include "platform/vb/Variant.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dao::detail {

struct CriteriaNode;

class Criteria {
public:
    // Field names are resolved once, case-insensitively. An unknown name raises 3070, text
    // that does not read as a criteria expression 3075.
    Criteria(std::string_view text, const std::vector<std::string>& fieldNames);
    ~Criteria();
    Criteria(Criteria&&) noexcept;

    // One row as the criteria read it: the value of the field at an index.
    using Row = std::function<vb::Variant(int field)>;

    // Null comparisons count as no match. A text compared with a number that it does not
    // read as raises 3464.
    bool Matches(const Row& row) const;

private:
    std::unique_ptr<CriteriaNode> root_;
};

// Comparison of two values as Jet's criteria compare them; false when either is Null.
// Result: <0, 0, >0 in *result.
bool CompareValues(const vb::Variant& a, const vb::Variant& b, int* result);

}  // namespace dao::detail
