#!/usr/bin/env python3
"""Validates a JSON document against one of the schemas in docs/schemas (they refer to each other by $id).

usage: validate_json.py SCHEMA_DIR SCHEMA_FILE INSTANCE_FILE
Prints every violation and exits 1 when there is one.
"""
import json
import os
import sys
import warnings

import jsonschema

warnings.simplefilter("ignore", DeprecationWarning)

schema_dir, schema_file, instance_file = sys.argv[1:4]
store = {}
for name in os.listdir(schema_dir):
    if name.endswith(".schema.json"):
        with open(os.path.join(schema_dir, name), encoding="utf-8") as f:
            s = json.load(f)
        store[s["$id"]] = s
with open(os.path.join(schema_dir, schema_file), encoding="utf-8") as f:
    schema = json.load(f)
with open(instance_file, encoding="utf-8") as f:
    instance = json.load(f)

jsonschema.Draft202012Validator.check_schema(schema)
resolver = jsonschema.RefResolver.from_schema(schema, store=store)
errors = list(jsonschema.Draft202012Validator(schema, resolver=resolver).iter_errors(instance))
for e in errors:
    print("/".join(str(p) for p in e.absolute_path) + ": " + e.message)
sys.exit(1 if errors else 0)
