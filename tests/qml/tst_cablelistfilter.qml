import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The cable selection view: a QML ListModel filtered by the typed prefix, read back through get() and
// through a delegate's role names.
TestCase {
    name: "CableListFilter"

    // Filled with append(), so the first property, cableName, becomes the list's role 0: the display
    // role the filter compares. (Static ListElements number their roles in reverse.)
    ListModel {
        id: cables
        Component.onCompleted: {
            append({ cableName: "ABC-1", manufacturer: "Acme", velocity: 0.66, loss: 0.2 })
            append({ cableName: "X-AB", manufacturer: "Beta", velocity: 0.7, loss: 0.3 })
            append({ cableName: "abd-2", manufacturer: "Acme", velocity: 0.8, loss: 0.4 })
            append({ cableName: "RG58", manufacturer: "Gamma", velocity: 0.66, loss: 0.5 })
        }
    }

    CableListFilterModel {
        id: filter
        sourceModel: cables
    }

    Repeater {
        id: view
        model: filter
        delegate: Item { property string label: cableName + "/" + manufacturer + "/" + velocity + "/" + loss }
    }

    SignalSpy { id: filterSpy; target: filter; signalName: "filterTextChanged" }

    function labels() {
        var result = []
        for (var i = 0; i < view.count; ++i)
            result.push(view.itemAt(i).label)
        return result
    }

    function test_filterAndRead() {
        compare(view.count, 4)
        filter.filterText = "ab"
        filter.filterText = "ab"
        compare(filterSpy.count, 1)
        compare(labels(), ["ABC-1/Acme/0.66/0.2", "abd-2/Acme/0.8/0.4"])

        var row = filter.get(1)
        compare(Object.keys(row).sort(), ["cableName", "loss", "manufacturer", "velocity"])
        compare([row.velocity, filter.get(2), filter.getIndexOfCableName("abd-2")], [0.8, undefined, 1])

        cables.append({ cableName: "ABX", manufacturer: "Delta", velocity: 0.9, loss: 0.1 })
        compare(labels()[2], "ABX/Delta/0.9/0.1")
    }
}
