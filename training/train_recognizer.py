#!/usr/bin/python3
# Trains the square classifier of the recogniser on the samples that
# make_samples wrote, and writes its weights as the program reads them
# (data/recognizer.ksq).
#   train_recognizer.py SAMPLES OUT [--epochs N] [--widths A,B,C,D]
# Each sample: its class (0 empty, 1..6 "PNBRQK", 7..12 "pnbrqk"), then
# 24 x 24 bytes, the square on the scale -1 (below the dark squares' ground)
# to 3, in steps of 1/63.75.
import argparse
import struct
import time

import numpy as np
import torch
from torch import nn

SIDE = 24
CLASSES = 13

parser = argparse.ArgumentParser()
parser.add_argument("samples")
parser.add_argument("out")
parser.add_argument("--epochs", type=int, default=6)
parser.add_argument("--seed", type=int, default=7)
parser.add_argument("--widths", default="16,32,64,128",
                    help="the channels of the three convolutions and the width of the dense layer")
args = parser.parse_args()

torch.manual_seed(args.seed)
np.random.seed(args.seed)
torch.set_num_threads(2)

raw = np.fromfile(args.samples, dtype=np.uint8).reshape(-1, 1 + SIDE * SIDE)
labels = torch.from_numpy(raw[:, 0].astype(np.int64))
values = torch.from_numpy(raw[:, 1:].astype(np.float32) / 63.75 - 1).reshape(-1, 1, SIDE, SIDE)
order = torch.randperm(len(labels))
labels, values = labels[order], values[order]
held = max(1, len(labels) // 20)
print(f"{len(labels)} samples, {held} kept aside;",
      "by class:", np.bincount(raw[:, 0], minlength=CLASSES).tolist(), flush=True)


class Classifier(nn.Module):
    def __init__(self, widths):
        super().__init__()
        a, b, c, d = widths
        self.convolutions = nn.ModuleList([
            nn.Conv2d(1, a, 3, padding=1), nn.Conv2d(a, b, 3, padding=1),
            nn.Conv2d(b, c, 3, padding=1)])
        self.dense = nn.ModuleList([nn.Linear(c * 3 * 3, d), nn.Linear(d, CLASSES)])

    def forward(self, x):
        for c in self.convolutions:
            x = nn.functional.max_pool2d(torch.relu(c(x)), 2)
        x = torch.flatten(x, 1)
        x = torch.relu(self.dense[0](x))
        return self.dense[1](x)


def roughen(x):
    """Each sample a little otherwise: shifted, stretched and turned by a
    little, its strokes bolder or thinner, more or less contrast, noise."""
    n = x.shape[0]
    scale_x = torch.empty(n).uniform_(0.88, 1.12)
    scale_y = torch.empty(n).uniform_(0.9, 1.1)
    angle = torch.empty(n).uniform_(-0.05, 0.05)
    theta = torch.zeros(n, 2, 3)
    theta[:, 0, 0] = torch.cos(angle) / scale_x
    theta[:, 0, 1] = -torch.sin(angle) / scale_x
    theta[:, 1, 0] = torch.sin(angle) / scale_y
    theta[:, 1, 1] = torch.cos(angle) / scale_y
    theta[:, :, 2] = torch.empty(n, 2).uniform_(-0.09, 0.09)
    # The ground (the square's colour at the corners) fills what comes in.
    ground = x[:, :, :2, :2].mean(dim=(2, 3), keepdim=True)
    grid = nn.functional.affine_grid(theta, list(x.shape), align_corners=False)
    x = nn.functional.grid_sample(x - ground, grid, padding_mode="zeros", align_corners=False) + ground
    pick = torch.rand(n, 1, 1, 1)
    bolder = -nn.functional.max_pool2d(-x, 3, stride=1, padding=1)  # dark strokes grow
    thinner = nn.functional.max_pool2d(x, 3, stride=1, padding=1)   # dark strokes shrink
    x = torch.where(pick < 0.12, bolder, torch.where(pick > 0.9, thinner, x))
    gain = torch.empty(n, 1, 1, 1).uniform_(0.85, 1.15)
    offset = torch.empty(n, 1, 1, 1).uniform_(-0.08, 0.08)
    return (x * gain + offset + torch.randn_like(x) * 0.03).clamp(-1, 3)


model = Classifier([int(w) for w in args.widths.split(",")])
optimiser = torch.optim.Adam(model.parameters(), lr=3e-3)
schedule = torch.optim.lr_scheduler.CosineAnnealingLR(optimiser, T_max=args.epochs)
train_x, train_y = values[held:], labels[held:]
test_x, test_y = values[:held], labels[:held]
start = time.time()
for epoch in range(args.epochs):
    model.train()
    permutation = torch.randperm(len(train_y))
    total = 0.0
    for i in range(0, len(train_y), 512):
        batch = permutation[i:i + 512]
        optimiser.zero_grad()
        loss = nn.functional.cross_entropy(model(roughen(train_x[batch])), train_y[batch])
        loss.backward()
        optimiser.step()
        total += loss.item() * len(batch)
    schedule.step()
    model.eval()
    with torch.no_grad():
        right = sum((model(test_x[i:i + 2048]).argmax(1) == test_y[i:i + 2048]).sum().item()
                    for i in range(0, len(test_y), 2048))
    print(f"epoch {epoch + 1}: loss {total / len(train_y):.4f}, "
          f"{100.0 * right / len(test_y):.2f} % of the samples kept aside, {time.time() - start:.0f} s",
          flush=True)

# "KSQ1", the number of convolutions and of dense layers, then for each layer
# its inputs and outputs and its weights and biases, as float32.
with open(args.out, "wb") as out:
    out.write(b"KSQ1" + struct.pack("<ii", len(model.convolutions), len(model.dense)))
    for layer in list(model.convolutions) + list(model.dense):
        weights = layer.weight.detach().numpy().astype("<f4")
        out.write(struct.pack("<ii", weights.shape[1], weights.shape[0]))  # inputs, outputs
        out.write(weights.tobytes())
        out.write(layer.bias.detach().numpy().astype("<f4").tobytes())
print(f"written {args.out}")
