"""Replays the vector corpus through `ztl serve`: every case on a fresh object, every call an
`invoke` request, results and by-reference arguments compared with the corpus.

    python3 serve_replay.py ZTL [FILE.jsonl ...]"""
import json
import subprocess
import sys

import corpus


class Server:
    def __init__(self, command):
        self.process = subprocess.Popen([command, "serve"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True, encoding="utf-8")
        self.next_id = 0

    def request(self, method, **params):
        self.next_id += 1
        line = json.dumps({"jsonrpc": "2.0", "id": self.next_id, "method": method,
                           "params": params}, ensure_ascii=False)
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        answer = json.loads(self.process.stdout.readline())
        assert answer["id"] == self.next_id, answer
        return answer

    def new_object(self, class_name):
        """A utility class is created; a component is placed in a container of its own."""
        answer = self.request("create", **{"class": class_name})
        if "result" in answer:
            return answer["result"]["object"]
        box = self.request("container")["result"]["container"]
        return self.request("place", container=box, **{"class": class_name})["result"]["object"]


def main(command, files):
    server, failures, count = Server(command), [], 0
    sources = [(w, c) for f in files for w, c in corpus.cases(f)] if files else corpus.cases()
    for where, case in sources:
        count += 1
        if "seed" in case:
            server.request("randomize", seed=case["seed"])
        target = server.new_object(case["class"])
        for index, step in enumerate(corpus.steps(case)):
            answer = server.request("invoke", object=target, member=step["member"],
                                    kind=step.get("kind", "method"), args=step.get("args", []))
            if "error" in answer:
                data = answer["error"].get("data")
                outcome = (data if data is not None else answer["error"]["message"], None, None)
            else:
                outcome = (None, answer["result"]["result"], answer["result"]["byref"])
            corpus.check_call(where, index, step, outcome, failures)
    server.process.stdin.close()
    server.process.wait()
    for failure in failures:
        print(failure)
    print(f"{count} cases, {len(failures)} failures")
    return 1 if failures or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], [a for a in sys.argv[2:]]))
