"""Drawing code for the pictures and stock texts Festiloom ships (see tools/draw_resources.py)."""
