#include "kernel/objects/proxy.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/registry.h"

tProxy::tProxy(const tZObject* Obj) : ObjectGUID(Obj->FGUID) {}

tObjectProxy::tObjectProxy(tZObject* Obj, tObjectsLinker* Linker) : tProxy(Obj), LocalLinker(Linker) {
    const tObjectsList& Graph = Linker->ObjectsGraph();
    for (int32_t I = 1; I <= Graph.GetTotalItems(); ++I) {
        if (Graph.GetObject(I) == Obj) {
            IndexOnObjectsGraph = I;
            break;
        }
    }
    Logger->Guard(IndexOnObjectsGraph != -1, "tObjectProxy cann't find requested object on ObjectsGraph");
}

bool tObjectProxy::IsAlive() { return GetObject() != nullptr; }

tZObject* tObjectProxy::GetObject() {
    // The graph holds live objects only, so reading any element's identifier
    // is safe. The remembered position goes stale whenever an earlier object
    // leaves the graph; the identifier decides.
    const tObjectsList& Graph = LocalLinker->ObjectsGraph();
    tZObject* Guess = Graph.GetObject(IndexOnObjectsGraph);
    if (Guess && Guess->FGUID == ObjectGUID) return Guess;
    for (int32_t I = 1; I <= Graph.GetTotalItems(); ++I) {
        tZObject* Obj = Graph.GetObject(I);
        if (Obj->FGUID == ObjectGUID) {
            IndexOnObjectsGraph = I;
            return Obj;
        }
    }
    return nullptr;
}
