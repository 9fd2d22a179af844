#pragma once

#include <QList>
#include <QtGlobal>

namespace tessary::rtf {

// The reader's open groups. A group that has changed nothing shares the state of the group it
// opened in: a level is copied only when something changes it, so a nest of any depth costs
// a few bytes per brace and text at the bottom of it is read like any other.
template <class G> class GroupStack {
public:
    bool isEmpty() const { return m_groups.isEmpty(); }
    qsizetype depth() const { return m_groups.size() + m_starts.size(); }

    void openFirst(const G &group) {
        m_groups.append(group);
        m_shared.append(0);
    }
    // A group opened at `start`, the offset of its brace; it shares the current state.
    void open(qsizetype start) {
        ++m_shared.last();
        m_starts.append(start);
    }
    // The innermost group, for reading and changing; a shared one is copied out first.
    G &top() {
        if (m_shared.last() > 0) {
            --m_shared.last();
            m_groups.append(sharedCopy(m_starts.takeLast()));
            m_shared.append(0);
        }
        return m_groups.last();
    }
    // The innermost group's state, without copying a shared one out.
    const G &peek() const { return m_groups.last(); }
    // Closes the innermost group and gives it back.
    G close() {
        if (m_shared.last() > 0) {
            --m_shared.last();
            return sharedCopy(m_starts.takeLast());
        }
        m_shared.removeLast();
        return m_groups.takeLast();
    }

private:
    G sharedCopy(qsizetype start) const {
        G group = m_groups.last();
        group.starred = false;
        group.start = start;
        return group;
    }

    QList<G> m_groups;
    QList<int> m_shared;       // per group: the levels above it that share its state
    QList<qsizetype> m_starts; // the brace offsets of all shared levels, innermost last
};

} // namespace tessary::rtf
