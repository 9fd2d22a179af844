#pragma once

namespace tessary {

// A view that shows a print job's pages. The job tells every registered view to update
// after each change; the view re-records its page then.
class PreviewClient {
public:
    virtual ~PreviewClient() = default;
    virtual void UpdatePreview() = 0;
};

} // namespace tessary
